// A system whose devices are a simulated machine and whose other areas are
// the fake's.
#pragma once

#include <memory>

#include "os/fake/fake_system.h"
#include "sim/sim_machine.h"

namespace sim::testing {

class SimSystem {
 public:
  explicit SimSystem(MachineDescription machine)
      : machine_(std::move(machine), fake_.errors),
        version_(machine_.description(), fake_.errors),
        shell_(machine_.description(), fake_.errors, fake_.power),
        system_{fake_.errors, fake_.files,   fake_.debug, fake_.text,     machine_, version_,
                machine_.services(), fake_.process, shell_, fake_.messages, fake_.registry,
                shell_},
        guard_(system_) {}

  SimMachine& machine() { return machine_; }
  os::fake::FakeSystem& fake() { return fake_; }
  SimShell& shell() { return shell_; }

  os::HANDLE OpenDrive(int number) {
    const std::u16string path =
        u"\\\\.\\PhysicalDrive" + std::u16string(1, static_cast<char16_t>(u'0' + number));
    return machine_.CreateFileW(path.c_str(), 0xC0000000u, 3, nullptr, 3, 0, nullptr);
  }

 private:
  os::fake::FakeSystem fake_;
  SimMachine machine_;
  SimVersion version_;
  SimShell shell_;
  os::System system_;
  os::ScopedSystem guard_;
};

inline SimDriveEntry DriveEntry(int number, std::uint32_t busType,
                                DriveDescription drive = {}) {
  SimDriveEntry e;
  e.number = number;
  e.busType = busType;
  e.drive = std::move(drive);
  return e;
}

inline MachineDescription MachineWith(std::vector<SimDriveEntry> drives) {
  MachineDescription m;
  m.drives = std::move(drives);
  return m;
}

}  // namespace sim::testing
