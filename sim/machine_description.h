// A simulated machine: its drives by physical drive number with their bus
// type and NT device path, its power source, Windows version and disk
// controllers. Loaded from JSON (docs/sim-machine.md) or built in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/drive_description.h"

namespace sim {

struct SimDriveEntry {
  int number = 0;
  std::uint32_t busType = 11;
  std::u16string devicePath;  // what \??\PhysicalDriveN names
  std::optional<std::int32_t> linkOpenStatus;   // NTSTATUS when opening fails
  std::optional<std::int32_t> linkQueryStatus;  // NTSTATUS when querying fails
  DriveDescription drive;
};

struct MachineDescription {
  std::vector<SimDriveEntry> drives;
  std::uint8_t acLineStatus = 1;
  std::optional<std::uint32_t> powerFailCode;
  std::uint32_t windowsMajor = 10;
  std::uint32_t windowsMinor = 0;
  std::optional<std::uint32_t> versionFailCode;
  std::vector<std::string> controllerServices;
  std::uint32_t driverSegmentDelayMs = 0;
  // Windows' own storage firmware interface on the drives' stacks (Windows
  // 10 1703 and later, Storport); absent as on older systems.
  bool firmwareInterface = false;
};

// The machine a JSON text describes, or none with `error` saying where it
// went wrong.
std::optional<MachineDescription> ParseMachine(const std::string& json,
                                               std::string& error);

// The demo machine: a level-4 SATA drive and a level-5 USB drive that
// qualify, one already updated, a Veltrax drive of another configuration,
// a foreign drive, one with security enabled and one on the SCSI bus.
MachineDescription DefaultMachine();

// The same machine as JSON text.
const char* DefaultMachineJson();

}  // namespace sim
