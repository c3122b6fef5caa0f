#include "sim/sim_power.h"

namespace sim {

std::vector<std::pair<os::UINT, os::DWORD>> SimPower::Restarts() const {
  std::lock_guard lock(mutex_);
  return restarts_;
}

os::BOOL SimPower::GetSystemPowerStatus(os::SystemPowerStatus* status) {
  if (machine_.powerFailCode) {
    errors_.SetLastError(*machine_.powerFailCode);
    return os::kFalse;
  }
  *status = os::SystemPowerStatus{machine_.acLineStatus, 0, 100, 0, 0xFFFFFFFFu, 0xFFFFFFFFu};
  return os::kTrue;
}

os::BOOL SimPower::OpenProcessToken(os::ProcessHandle process, os::DWORD access,
                                    os::TokenHandle* token) {
  return base_.OpenProcessToken(process, access, token);
}

os::BOOL SimPower::LookupPrivilegeValueW(const char16_t* system, const char16_t* name,
                                         os::Luid* luid) {
  return base_.LookupPrivilegeValueW(system, name, luid);
}

os::BOOL SimPower::AdjustTokenPrivileges(os::TokenHandle token, os::BOOL disableAll,
                                         os::TokenPrivileges* newState, os::DWORD length,
                                         os::TokenPrivileges* previous, os::DWORD* returned) {
  return base_.AdjustTokenPrivileges(token, disableAll, newState, length, previous, returned);
}

os::BOOL SimPower::ExitWindowsEx(os::UINT flags, os::DWORD reason) {
  std::lock_guard lock(mutex_);
  restarts_.emplace_back(flags, reason);
  return os::kTrue;
}

os::BOOL SimPower::CloseHandle(os::TokenHandle object) { return base_.CloseHandle(object); }

}  // namespace sim
