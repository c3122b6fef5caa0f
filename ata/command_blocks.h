// The task files of the commands the library sends, built in one place:
// the command code with its device register, and SMART with its signature
// (0x4F in LBA 15:8, 0xC2 in LBA 23:16).
#pragma once

#include <cstdint>

#include "ata/taskfile.h"

namespace tessel {

constexpr std::uint8_t kSmartCommand = 0xB0;
constexpr std::uint8_t kSmartLbaMid = 0x4F;
constexpr std::uint8_t kSmartLbaHigh = 0xC2;

constexpr Taskfile Command(std::uint8_t command, std::uint8_t device = 0) {
  Taskfile t{};
  t.command = command;
  t.device = device;
  return t;
}

constexpr Taskfile SmartCommand(std::uint16_t features, std::uint8_t lbaLow,
                                std::uint16_t count, std::uint8_t device) {
  Taskfile t = Command(kSmartCommand, device);
  t.features = features;
  t.lba = lbaLow | (std::uint64_t{kSmartLbaMid} << 8) | (std::uint64_t{kSmartLbaHigh} << 16);
  t.count = count;
  return t;
}

}  // namespace tessel
