// The fake's power source and restart, message boxes and setup classes:
// what the application shell asks of Windows, scripted and recorded.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "os/errors.h"
#include "os/fake/faults.h"
#include "os/messages.h"
#include "os/power.h"
#include "os/setup.h"

namespace os::fake {

class FakePower final : public Power {
 public:
  FakePower(Errors& errors, Faults& faults) : errors_(errors), faults_(faults) {}

  std::uint8_t acLineStatus = 1;
  bool shutdownPrivilegeHeld = true;
  std::u16string systemDirectory = u"C:\\windows\\system32";
  // Restart requests: (flags, reason). Nothing is ever restarted.
  std::vector<std::pair<UINT, DWORD>> restarts;
  std::vector<std::u16string> privilegesLookedUp;

  BOOL GetSystemPowerStatus(SystemPowerStatus* status) override;
  BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token) override;
  BOOL LookupPrivilegeValueW(const char16_t* systemName, const char16_t* name,
                             Luid* luid) override;
  BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, TokenPrivileges* newState,
                             DWORD bufferLength, TokenPrivileges* previousState,
                             DWORD* returnLength) override;
  BOOL ExitWindowsEx(UINT flags, DWORD reason) override;
  UINT GetSystemDirectoryW(char16_t* buffer, UINT size) override;
  BOOL CloseHandle(HANDLE object) override;

 private:
  Errors& errors_;
  Faults& faults_;
};

class FakeMessages final : public Messages {
 public:
  struct Box {
    std::u16string text;
    std::u16string caption;
    UINT type;
  };
  // Answers in order; IDOK for an OK box, IDNO otherwise, when none is left.
  std::deque<int> answers;
  std::vector<Box> Boxes() const;

  int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption,
                  UINT type) override;

 private:
  mutable std::mutex mutex_;
  std::vector<Box> boxes_;
};

class FakeSetup final : public Setup {
 public:
  FakeSetup(Errors& errors, Faults& faults) : errors_(errors), faults_(faults) {}

  // A present device of `classGuid`, with its driver service name; an empty
  // name makes the property unreadable.
  void AddDevice(const Guid& classGuid, std::u16string service);

  HDEVINFO SetupDiGetClassDevsW(const Guid* classGuid, const char16_t* enumerator,
                                void* parent, DWORD flags) override;
  BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, DevInfoData* data) override;
  BOOL SetupDiGetDeviceRegistryPropertyW(HDEVINFO set, DevInfoData* data, DWORD property,
                                         DWORD* regType, std::uint8_t* buffer,
                                         DWORD bufferSize, DWORD* requiredSize) override;
  BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) override;
  int OpenLists() const;

 private:
  struct Device {
    Guid classGuid;
    std::u16string service;
  };
  Errors& errors_;
  Faults& faults_;
  mutable std::mutex mutex_;
  std::vector<Device> devices_;
  std::map<HDEVINFO, std::vector<std::u16string>> lists_;
  std::uintptr_t next_ = 0x6800000;
};

bool SameGuid(const Guid& a, const Guid& b);

}  // namespace os::fake
