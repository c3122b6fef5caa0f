// A simulated machine over the fake system, installed for the lifetime of
// the fixture.
#pragma once

#include <memory>

#include "os/fake/fake_system.h"
#include "sim/simulated_system.h"

namespace sim::test_support {

class SimSystem {
 public:
  explicit SimSystem(MachineDescription machine)
      : simulated_(fake_.system(), std::move(machine)), guard_(simulated_.system()) {}

  SimMachine& machine() { return simulated_.machine(); }
  os::fake::FakeSystem& fake() { return fake_; }
  SimulatedSystem& simulated() { return simulated_; }

  os::DeviceHandle OpenDrive(int number) {
    const std::u16string path =
        u"\\\\.\\PhysicalDrive" + std::u16string(1, static_cast<char16_t>(u'0' + number));
    return machine().CreateFileW(path.c_str(), 0xC0000000u, 3, nullptr, 3, 0, nullptr);
  }

 private:
  os::fake::FakeSystem fake_;
  SimulatedSystem simulated_;
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

}  // namespace sim::test_support
