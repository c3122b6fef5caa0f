#include "os/memory/symbolic_links.h"

#include <cstring>

#include "os/ascii_case.h"
#include "os/constants.h"
#include "os/memory/module_table.h"

namespace os::memory {

void SymbolicLinks::Add(const std::u16string& name, const std::u16string& target,
                        std::optional<NTSTATUS> openStatus,
                        std::optional<NTSTATUS> queryStatus) {
  std::lock_guard lock(mutex_);
  links_[os::AsciiLower(name)] = Link{target, openStatus, queryStatus};
}

int SymbolicLinks::OpenLinks() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(open_.size());
}

NTSTATUS SymbolicLinks::Open(ProcAddress routine, HANDLE* link,
                             ObjectAttributes* attributes) {
  if (routine != StandInRoutine("NtOpenSymbolicLinkObject") || link == nullptr || attributes == nullptr ||
      attributes->ObjectName == nullptr || attributes->ObjectName->Buffer == nullptr) {
    return kStatusInvalidHandle;
  }
  const UnicodeString& name = *attributes->ObjectName;
  const std::u16string text(name.Buffer, name.Length / 2);
  std::lock_guard lock(mutex_);
  auto it = links_.find(os::AsciiLower(text));
  if (it == links_.end()) return kStatusObjectNameNotFound;
  if (it->second.openStatus) return *it->second.openStatus;
  *link = reinterpret_cast<HANDLE>(nextHandle_);
  nextHandle_ += 4;
  open_[*link] = it->first;
  return kStatusSuccess;
}

NTSTATUS SymbolicLinks::Query(ProcAddress routine, HANDLE link,
                              UnicodeString* target, std::uint32_t* returnedLength) {
  std::lock_guard lock(mutex_);
  auto it = open_.find(link);
  if (routine != StandInRoutine("NtQuerySymbolicLinkObject") || it == open_.end() || target == nullptr) {
    return kStatusInvalidHandle;
  }
  const Link& entry = links_[it->second];
  if (entry.queryStatus) return *entry.queryStatus;
  const std::size_t bytes = entry.target.size() * 2;
  if (returnedLength != nullptr) *returnedLength = static_cast<std::uint32_t>(bytes);
  if (bytes > target->MaximumLength || target->Buffer == nullptr) {
    return kStatusBufferTooSmall;
  }
  std::memcpy(target->Buffer, entry.target.data(), bytes);
  target->Length = static_cast<std::uint16_t>(bytes);
  return kStatusSuccess;
}

NTSTATUS SymbolicLinks::Close(ProcAddress routine, HANDLE link) {
  std::lock_guard lock(mutex_);
  if (routine != StandInRoutine("NtClose") || open_.erase(link) == 0) return kStatusInvalidHandle;
  return kStatusSuccess;
}

}  // namespace os::memory
