// The simulated machine: its physical drives by number, the firmware
// driver's device, the NT symbolic links that name the drives, and the
// service database the driver is registered in. It is the devices area of
// the seam for a system whose hardware is simulated.
#pragma once

#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "os/devices.h"
#include "os/errors.h"
#include "os/memory/service_database.h"
#include "os/memory/symbolic_links.h"
#include "sim/command_faults.h"
#include "sim/machine_description.h"
#include "sim/sim_drive.h"
#include "sim/sim_firmware_driver.h"

namespace sim {

class SimMachine final : public os::Devices {
 public:
  // `errors` is the last-error area of the system the machine serves.
  SimMachine(MachineDescription description, os::Errors& errors);

  os::DeviceHandle CreateFileW(const char16_t* name, os::DWORD desiredAccess,
                               os::DWORD shareMode, void* securityAttributes,
                               os::DWORD creationDisposition,
                               os::DWORD flagsAndAttributes,
                               os::DeviceHandle templateFile) override;
  os::BOOL DeviceIoControl(os::DeviceHandle device, os::DWORD ioControlCode,
                           void* inBuffer, os::DWORD inBufferSize,
                           void* outBuffer, os::DWORD outBufferSize,
                           os::DWORD* bytesReturned, void* overlapped) override;
  os::BOOL CloseHandle(os::DeviceHandle object) override;
  os::BOOL DuplicateHandle(os::ProcessHandle sourceProcess, os::DeviceHandle source,
                           os::ProcessHandle targetProcess, os::DeviceHandle* target,
                           os::DWORD desiredAccess, os::BOOL inheritHandle,
                           os::DWORD options) override;
  os::NTSTATUS NtOpenSymbolicLinkObject(os::ProcAddress routine, os::HANDLE* link,
                                        os::DWORD desiredAccess,
                                        os::ObjectAttributes* attributes) override;
  os::NTSTATUS NtQuerySymbolicLinkObject(os::ProcAddress routine, os::HANDLE link,
                                         os::UnicodeString* target,
                                         std::uint32_t* returnedLength) override;
  os::NTSTATUS NtClose(os::ProcAddress routine, os::HANDLE object) override;

  // Every drive loses power and comes back.
  void PowerCycle();

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
  // Symbolic-link handles open now.
  int OpenLinks() const { return links_.OpenLinks(); }

  // The firmware driver's time in its transfers.
  std::chrono::nanoseconds DriverBusyTime() const { return driver_.BusyTime(); }

  // The one-command fault of a sweep; no fault unless armed.
  CommandFaults& commandFaults() { return commandFaults_; }

  // The machine's service database. The firmware driver's service
  // "VLXFMDriver" starts only when its registered binary exists (looked for
  // through the files area of the installed system); while it runs,
  // "\\.\VLXFMDriver" opens.
  os::memory::ServiceDatabase& services() { return services_; }

 private:
  struct Target {
    int drive;  // -1: the firmware driver
  };
  void Trace(const Target& target, os::DWORD code, const void* in,
             os::DWORD inSize, const void* out, os::DWORD returned,
             os::BOOL result, os::DWORD error);

  MachineDescription description_;
  os::Errors& errors_;
  CommandFaults commandFaults_;
  std::map<int, std::unique_ptr<SimDrive>> drives_;
  SimFirmwareDriver driver_;
  mutable std::mutex mutex_;
  bool driverRunning_ = false;
  std::map<os::DeviceHandle, Target> handles_;
  std::uintptr_t nextHandle_ = 0x5100000;
  std::ofstream trace_;
  os::memory::SymbolicLinks links_;
  os::memory::ServiceDatabase services_;
};

// The drive number in "\\.\PhysicalDriveN" (any letter case), or -1.
int DriveNumberOf(const std::u16string& path);

}  // namespace sim
