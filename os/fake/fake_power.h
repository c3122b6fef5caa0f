// The fake's power source and restart: what the application shell asks of
// Windows before an update, scripted and recorded. Nothing is ever
// restarted.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "os/errors.h"
#include "os/fake/faults.h"
#include "os/power.h"

namespace os::fake {

class FakePower final : public Power {
 public:
  FakePower(Errors& errors, Faults& faults) : errors_(errors), faults_(faults) {}

  std::uint8_t acLineStatus = 1;
  bool shutdownPrivilegeHeld = true;
  // Restart requests: (flags, reason). Nothing is ever restarted.
  std::vector<std::pair<UINT, DWORD>> restarts;
  std::vector<std::u16string> privilegesLookedUp;

  BOOL GetSystemPowerStatus(SystemPowerStatus* status) override;
  BOOL OpenProcessToken(ProcessHandle process, DWORD desiredAccess,
                        TokenHandle* token) override;
  BOOL LookupPrivilegeValueW(const char16_t* systemName, const char16_t* name,
                             Luid* luid) override;
  BOOL AdjustTokenPrivileges(TokenHandle token, BOOL disableAll, TokenPrivileges* newState,
                             DWORD bufferLength, TokenPrivileges* previousState,
                             DWORD* returnLength) override;
  BOOL ExitWindowsEx(UINT flags, DWORD reason) override;
  BOOL CloseHandle(TokenHandle object) override;

 private:
  Errors& errors_;
  Faults& faults_;
};

}  // namespace os::fake
