#include <windows.h>
#include "os/win32/native.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

static_assert(sizeof(SystemPowerStatus) == sizeof(SYSTEM_POWER_STATUS));
static_assert(sizeof(Luid) == sizeof(LUID));
static_assert(sizeof(TokenPrivileges) == sizeof(TOKEN_PRIVILEGES));
static_assert(offsetof(TokenPrivileges, Privileges) == offsetof(TOKEN_PRIVILEGES, Privileges));
BOOL Win32Power::GetSystemPowerStatus(SystemPowerStatus* status) {
  return ::GetSystemPowerStatus(reinterpret_cast<SYSTEM_POWER_STATUS*>(status));
}

BOOL Win32Power::OpenProcessToken(ProcessHandle process, DWORD desiredAccess,
                                  TokenHandle* token) {
  ::HANDLE opened = nullptr;
  const ::BOOL ok = ::OpenProcessToken(ToNative(process), desiredAccess, &opened);
  if (token != nullptr) *token = FromNative<TokenHandle>(opened);
  return ok;
}

BOOL Win32Power::LookupPrivilegeValueW(const char16_t* systemName, const char16_t* name,
                                       Luid* luid) {
  return ::LookupPrivilegeValueW(Wide(systemName), Wide(name), reinterpret_cast<LUID*>(luid));
}

BOOL Win32Power::AdjustTokenPrivileges(TokenHandle token, BOOL disableAll,
                                       TokenPrivileges* newState, DWORD bufferLength,
                                       TokenPrivileges* previousState, DWORD* returnLength) {
  ::DWORD length = 0;
  const ::BOOL ok = ::AdjustTokenPrivileges(
      ToNative(token), disableAll, reinterpret_cast<TOKEN_PRIVILEGES*>(newState), bufferLength,
      reinterpret_cast<TOKEN_PRIVILEGES*>(previousState), returnLength ? &length : nullptr);
  if (returnLength != nullptr) *returnLength = length;
  return ok;
}

BOOL Win32Power::ExitWindowsEx(UINT flags, DWORD reason) {
  return ::ExitWindowsEx(flags, reason);
}

BOOL Win32Power::CloseHandle(TokenHandle object) { return ::CloseHandle(ToNative(object)); }

}  // namespace os::win32
