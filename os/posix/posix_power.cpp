#include "os/posix/posix_system.h"

#include "os/constants.h"

namespace os::posix {

BOOL PosixPower::GetSystemPowerStatus(SystemPowerStatus*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixPower::OpenProcessToken(ProcessHandle, DWORD, TokenHandle*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixPower::LookupPrivilegeValueW(const char16_t*, const char16_t*, Luid*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixPower::AdjustTokenPrivileges(TokenHandle, BOOL, TokenPrivileges*, DWORD, TokenPrivileges*,
                                       DWORD*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixPower::ExitWindowsEx(UINT, DWORD) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixPower::CloseHandle(TokenHandle) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

}  // namespace os::posix
