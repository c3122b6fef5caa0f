// The NT object manager's symbolic links as the fake and the simulated
// machine answer them, reached through ntdll's NtOpenSymbolicLinkObject,
// NtQuerySymbolicLinkObject and NtClose (the stand-ins of ModuleTable),
// with their NTSTATUS results.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "os/devices.h"

namespace os::memory {

class SymbolicLinks {
 public:
  // `name` (such as "\??\PhysicalDrive0") names `target`; opening or
  // querying it may be made to fail with an NTSTATUS instead.
  void Add(const std::u16string& name, const std::u16string& target,
           std::optional<NTSTATUS> openStatus = std::nullopt,
           std::optional<NTSTATUS> queryStatus = std::nullopt);
  int OpenLinks() const;

  NTSTATUS Open(ProcAddress routine, HANDLE* link, ObjectAttributes* attributes);
  NTSTATUS Query(ProcAddress routine, HANDLE link, UnicodeString* target,
                 std::uint32_t* returnedLength);
  NTSTATUS Close(ProcAddress routine, HANDLE link);

 private:
  struct Link {
    std::u16string target;
    std::optional<NTSTATUS> openStatus;
    std::optional<NTSTATUS> queryStatus;
  };
  mutable std::mutex mutex_;
  std::map<std::u16string, Link> links_;  // by lower-case name
  std::map<HANDLE, std::u16string> open_;
  std::uintptr_t nextHandle_ = 0x7100000;
};

}  // namespace os::memory
