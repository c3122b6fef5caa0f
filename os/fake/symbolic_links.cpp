#include "os/fake/symbolic_links.h"

#include <cstring>

#include "os/ascii_case.h"
#include "os/constants.h"

namespace os::fake {
namespace {

// Stand-ins for the module and the routines: distinct, never called.
HMODULE const kNtdll = reinterpret_cast<HMODULE>(0x7FF00000);
char kOpenRoutine, kQueryRoutine, kCloseRoutine;

}  // namespace

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

HMODULE SymbolicLinks::ModuleHandle(const char16_t* name, DWORD& error) const {
  const std::u16string lower = os::AsciiLower(name == nullptr ? u"" : name);
  if (lower == u"ntdll" || lower == u"ntdll.dll") return kNtdll;
  error = kErrorModNotFound;
  return nullptr;
}

ProcAddress SymbolicLinks::Routine(HMODULE module, const char* name,
                                   DWORD& error) const {
  if (module == kNtdll && name != nullptr) {
    if (std::strcmp(name, "NtOpenSymbolicLinkObject") == 0) return &kOpenRoutine;
    if (std::strcmp(name, "NtQuerySymbolicLinkObject") == 0) return &kQueryRoutine;
    if (std::strcmp(name, "NtClose") == 0) return &kCloseRoutine;
  }
  error = kErrorProcNotFound;
  return nullptr;
}

NTSTATUS SymbolicLinks::Open(ProcAddress routine, HANDLE* link,
                             ObjectAttributes* attributes) {
  if (routine != &kOpenRoutine || link == nullptr || attributes == nullptr ||
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
  if (routine != &kQueryRoutine || it == open_.end() || target == nullptr) {
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
  if (routine != &kCloseRoutine || open_.erase(link) == 0) return kStatusInvalidHandle;
  return kStatusSuccess;
}

}  // namespace os::fake
