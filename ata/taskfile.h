// The registers of one ATA command and of its result, and how its data
// phase runs.
#pragma once

#include <cstdint>

namespace tessel {

// Packed: fields follow one another without gaps. Every 16-bit field holds
// the current register in bits 7:0 and the previous (48-bit) half in bits
// 15:8. The command half carries the address as one number; the result half
// as the three register pairs the drive returns.
#pragma pack(push, 1)
struct Taskfile {
  std::uint8_t device;
  std::uint16_t features;
  std::uint16_t count;
  std::uint64_t lba;  // bits 63:48 are never sent
  std::uint8_t command;
  std::uint8_t outDevice;
  std::uint16_t outError;
  std::uint16_t outCount;
  std::uint16_t outLbaLow;   // LBA 7:0, previous LBA 31:24
  std::uint16_t outLbaMid;   // LBA 15:8, previous LBA 39:32
  std::uint16_t outLbaHigh;  // LBA 23:16, previous LBA 47:40
  std::uint8_t outStatus;
};
#pragma pack(pop)
static_assert(sizeof(Taskfile) == 26);

enum class AtaProtocol : std::uint32_t {
  NonData = 0,
  NonDataExt = 1,
  PioIn = 2,
  PioOut = 3,
  PioInExt = 4,
  PioOutExt = 5,
  DmaIn = 10,
  DmaOut = 11,
  DmaInExt = 12,
  DmaOutExt = 13,
};

// LBA byte `n` (bits 8n+7:8n) of a task file's address.
constexpr std::uint8_t LbaByte(std::uint64_t lba, unsigned n) {
  return static_cast<std::uint8_t>(lba >> (8 * n));
}

// Status bits that mark a failed command: BSY 0x80, DRQ 0x08, ERR 0x01.
constexpr std::uint8_t kStatusFailureMask = 0x89;

// The command failed: BSY, DRQ or ERR set, or an error register that is
// not 0.
constexpr bool IsCommandFailure(const Taskfile& taskfile) {
  return (taskfile.outStatus & kStatusFailureMask) != 0 ||
         (taskfile.outError & 0xFF) != 0;
}

}  // namespace tessel
