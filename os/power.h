// The power source, the shutdown privilege and the restart.
#pragma once

#include <cstdint>

#include "os/types.h"

namespace os {

// SYSTEM_POWER_STATUS.
struct SystemPowerStatus {
  std::uint8_t ACLineStatus;
  std::uint8_t BatteryFlag;
  std::uint8_t BatteryLifePercent;
  std::uint8_t SystemStatusFlag;
  DWORD BatteryLifeTime;
  DWORD BatteryFullLifeTime;
};
static_assert(sizeof(SystemPowerStatus) == 12);

// LUID, LUID_AND_ATTRIBUTES, TOKEN_PRIVILEGES with one entry.
struct Luid {
  DWORD LowPart;
  std::int32_t HighPart;
};
struct LuidAndAttributes {
  os::Luid Luid;
  DWORD Attributes;
};
struct TokenPrivileges {
  DWORD PrivilegeCount;
  LuidAndAttributes Privileges[1];
};

class Power {
 public:
  virtual ~Power() = default;
  virtual BOOL GetSystemPowerStatus(SystemPowerStatus* status) = 0;
  virtual BOOL OpenProcessToken(ProcessHandle process, DWORD desiredAccess,
                                TokenHandle* token) = 0;
  virtual BOOL LookupPrivilegeValueW(const char16_t* systemName, const char16_t* name,
                                     Luid* luid) = 0;
  virtual BOOL AdjustTokenPrivileges(TokenHandle token, BOOL disableAll,
                                     TokenPrivileges* newState, DWORD bufferLength,
                                     TokenPrivileges* previousState,
                                     DWORD* returnLength) = 0;
  virtual BOOL ExitWindowsEx(UINT flags, DWORD reason) = 0;
  // The token's handle.
  virtual BOOL CloseHandle(TokenHandle object) = 0;
};

}  // namespace os
