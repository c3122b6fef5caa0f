// The machine's power source, as its description says, and its restart,
// recorded and never performed. The shutdown privilege is the process's
// own: token calls go to the system the machine runs on.
#pragma once

#include <mutex>
#include <utility>
#include <vector>

#include "os/errors.h"
#include "os/power.h"
#include "sim/machine_description.h"

namespace sim {

class SimPower final : public os::Power {
 public:
  SimPower(const MachineDescription& machine, os::Errors& errors, os::Power& base)
      : machine_(machine), errors_(errors), base_(base) {}

  // Restart requests: (flags, reason).
  std::vector<std::pair<os::UINT, os::DWORD>> Restarts() const;

  os::BOOL GetSystemPowerStatus(os::SystemPowerStatus* status) override;
  os::BOOL OpenProcessToken(os::ProcessHandle process, os::DWORD desiredAccess,
                            os::TokenHandle* token) override;
  os::BOOL LookupPrivilegeValueW(const char16_t* systemName, const char16_t* name,
                                 os::Luid* luid) override;
  os::BOOL AdjustTokenPrivileges(os::TokenHandle token, os::BOOL disableAll,
                                 os::TokenPrivileges* newState, os::DWORD bufferLength,
                                 os::TokenPrivileges* previousState,
                                 os::DWORD* returnLength) override;
  os::BOOL ExitWindowsEx(os::UINT flags, os::DWORD reason) override;
  os::BOOL CloseHandle(os::TokenHandle object) override;

 private:
  const MachineDescription& machine_;
  os::Errors& errors_;
  os::Power& base_;
  mutable std::mutex mutex_;
  std::vector<std::pair<os::UINT, os::DWORD>> restarts_;
};

}  // namespace sim
