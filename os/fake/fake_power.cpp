#include "os/fake/fake_power.h"

#include "os/constants.h"

namespace os::fake {
namespace {

TokenHandle const kToken = reinterpret_cast<TokenHandle>(0x6700004);

}  // namespace

BOOL FakePower::GetSystemPowerStatus(SystemPowerStatus* status) {
  if (auto code = faults_.Take("power", "GetSystemPowerStatus")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  *status = SystemPowerStatus{acLineStatus, 0, 100, 0, 0xFFFFFFFFu, 0xFFFFFFFFu};
  return kTrue;
}

BOOL FakePower::OpenProcessToken(ProcessHandle, DWORD, TokenHandle* token) {
  if (auto code = faults_.Take("power", "OpenProcessToken")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  *token = kToken;
  return kTrue;
}

BOOL FakePower::LookupPrivilegeValueW(const char16_t*, const char16_t* name, Luid* luid) {
  privilegesLookedUp.emplace_back(name == nullptr ? u"" : name);
  *luid = Luid{19, 0};  // SE_SHUTDOWN_PRIVILEGE
  return kTrue;
}

// As Windows: success, and ERROR_NOT_ALL_ASSIGNED in the last error when
// the token does not hold the privilege.
BOOL FakePower::AdjustTokenPrivileges(TokenHandle token, BOOL, TokenPrivileges*, DWORD,
                                      TokenPrivileges*, DWORD*) {
  if (token != kToken) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  errors_.SetLastError(shutdownPrivilegeHeld ? kErrorSuccess : kErrorNotAllAssigned);
  return kTrue;
}

BOOL FakePower::ExitWindowsEx(UINT flags, DWORD reason) {
  if (auto code = faults_.Take("power", "ExitWindowsEx")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  restarts.emplace_back(flags, reason);
  return kTrue;
}

BOOL FakePower::CloseHandle(TokenHandle object) {
  if (object != kToken) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  return kTrue;
}

}  // namespace os::fake
