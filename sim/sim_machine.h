// The simulated machine: its physical drives by number, the firmware
// driver's device, and what the rest of the machine reports. It is the
// devices area of the seam for a system whose hardware is simulated.
#pragma once

#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "os/devices.h"
#include "os/errors.h"
#include "os/fake/fake_services.h"
#include "os/fake/fake_shell.h"
#include "os/power.h"
#include "os/setup.h"
#include "os/fake/fake_version.h"
#include "os/fake/symbolic_links.h"
#include "os/version.h"
#include "sim/machine_description.h"
#include "sim/sim_drive.h"
#include "sim/sim_firmware_driver.h"

namespace sim {

class SimMachine final : public os::Devices {
 public:
  // `errors` is the last-error area of the system the machine serves.
  SimMachine(MachineDescription description, os::Errors& errors);

  os::HANDLE CreateFileW(const char16_t* name, os::DWORD desiredAccess,
                         os::DWORD shareMode, void* securityAttributes,
                         os::DWORD creationDisposition,
                         os::DWORD flagsAndAttributes,
                         os::HANDLE templateFile) override;
  os::BOOL DeviceIoControl(os::HANDLE device, os::DWORD ioControlCode,
                           void* inBuffer, os::DWORD inBufferSize,
                           void* outBuffer, os::DWORD outBufferSize,
                           os::DWORD* bytesReturned, void* overlapped) override;
  os::BOOL CloseHandle(os::HANDLE object) override;
  os::HANDLE GetCurrentProcess() override;
  os::BOOL DuplicateHandle(os::HANDLE sourceProcess, os::HANDLE source,
                           os::HANDLE targetProcess, os::HANDLE* target,
                           os::DWORD desiredAccess, os::BOOL inheritHandle,
                           os::DWORD options) override;
  os::HMODULE GetModuleHandleW(const char16_t* moduleName) override;
  os::ProcAddress GetProcAddress(os::HMODULE module, const char* name) override;
  os::NTSTATUS NtOpenSymbolicLinkObject(os::ProcAddress routine, os::HANDLE* link,
                                        os::DWORD desiredAccess,
                                        os::ObjectAttributes* attributes) override;
  os::NTSTATUS NtQuerySymbolicLinkObject(os::ProcAddress routine, os::HANDLE link,
                                         os::UnicodeString* target,
                                         std::uint32_t* returnedLength) override;
  os::NTSTATUS NtClose(os::ProcAddress routine, os::HANDLE object) override;

  // The drive with that number, or null.
  SimDrive* Drive(int number);
  const SimDriveEntry* Entry(int number) const;
  const MachineDescription& description() const { return description_; }

  // While stopped, "\\.\VLXFMDriver" does not open.
  void SetFirmwareDriverRunning(bool running);

  // Writes every request and reply to `path`, one line each.
  bool TraceTo(const std::string& path);

  // Handles open now, drive and driver alike.
  int OpenHandles() const;

  // The machine's service database. The firmware driver's service
  // "VLXFMDriver" starts only when its registered binary exists (looked for
  // through the files area of the installed system); while it runs,
  // "\\.\VLXFMDriver" opens.
  os::fake::FakeServices& services() { return services_; }

 private:
  struct Target {
    int drive;  // -1: the firmware driver
  };
  void Trace(const Target& target, os::DWORD code, const void* in,
             os::DWORD inSize, const void* out, os::DWORD returned,
             os::BOOL result, os::DWORD error);

  MachineDescription description_;
  os::Errors& errors_;
  std::map<int, std::unique_ptr<SimDrive>> drives_;
  SimFirmwareDriver driver_;
  mutable std::mutex mutex_;
  bool driverRunning_ = false;
  std::map<os::HANDLE, Target> handles_;
  std::uintptr_t nextHandle_ = 0x5100000;
  std::ofstream trace_;
  os::fake::SymbolicLinks links_;
  os::fake::Faults serviceFaults_;
  os::fake::FakeServices services_;
};

// The power source and the disk controllers of the machine; the restart is
// recorded, never performed. Token and system-directory calls go to the
// system the machine runs on.
class SimShell final : public os::Power, public os::Setup {
 public:
  SimShell(const MachineDescription& machine, os::Errors& errors, os::Power& base);

  std::vector<std::pair<os::UINT, os::DWORD>> Restarts() const;

  os::BOOL GetSystemPowerStatus(os::SystemPowerStatus* status) override;
  os::BOOL OpenProcessToken(os::HANDLE process, os::DWORD desiredAccess,
                            os::HANDLE* token) override;
  os::BOOL LookupPrivilegeValueW(const char16_t* systemName, const char16_t* name,
                                 os::Luid* luid) override;
  os::BOOL AdjustTokenPrivileges(os::HANDLE token, os::BOOL disableAll,
                                 os::TokenPrivileges* newState, os::DWORD bufferLength,
                                 os::TokenPrivileges* previousState,
                                 os::DWORD* returnLength) override;
  os::BOOL ExitWindowsEx(os::UINT flags, os::DWORD reason) override;
  os::UINT GetSystemDirectoryW(char16_t* buffer, os::UINT size) override;
  os::BOOL CloseHandle(os::HANDLE object) override;

  os::HDEVINFO SetupDiGetClassDevsW(const os::Guid* classGuid, const char16_t* enumerator,
                                    void* parent, os::DWORD flags) override;
  os::BOOL SetupDiEnumDeviceInfo(os::HDEVINFO set, os::DWORD index,
                                 os::DevInfoData* data) override;
  os::BOOL SetupDiGetDeviceRegistryPropertyW(os::HDEVINFO set, os::DevInfoData* data,
                                             os::DWORD property, os::DWORD* regType,
                                             std::uint8_t* buffer, os::DWORD bufferSize,
                                             os::DWORD* requiredSize) override;
  os::BOOL SetupDiDestroyDeviceInfoList(os::HDEVINFO set) override;

 private:
  const MachineDescription& machine_;
  os::Errors& errors_;
  os::Power& base_;
  os::fake::Faults faults_;
  os::fake::FakeSetup controllers_;
  mutable std::mutex mutex_;
  std::vector<std::pair<os::UINT, os::DWORD>> restarts_;
};

// GetVersionExW as the machine description says.
class SimVersion final : public os::Version {
 public:
  SimVersion(const MachineDescription& machine, os::Errors& errors)
      : machine_(machine), errors_(errors) {}
  os::BOOL GetVersionExW(os::OsVersionInfo* info) override;

 private:
  const MachineDescription& machine_;
  os::Errors& errors_;
};

// The drive number in "\\.\PhysicalDriveN" (any letter case), or -1.
int DriveNumberOf(const std::u16string& path);

}  // namespace sim
