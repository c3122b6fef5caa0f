// The physical-parameters block, data table 1 of the vendor-specific
// channel. The positions the system reads:
//
//   offset  width          content
//   2       8 chars        revision text A
//   10      8 chars        revision text B
//   18      8 chars        revision text C
//   26      8 bits         family id, short form; 0xFE: see 364
//   184     4 chars        text 4
//   188     4 chars        text 5
//   210     40 chars       text 6
//   257     18 chars, every second byte (257, 259, ..., 291): text 1
//   292     10 chars       text 2
//   304     10 chars       text 3
//   318     20 chars       text 7
//   364     16 bits        family id, long form
//   366     16 bits        configuration id
#pragma once

#include <cstdint>
#include <string>

#include "ata/block_map.h"

namespace tessel {

namespace physparams {
constexpr std::uint32_t kRevisionA = 2;
constexpr std::uint32_t kRevisionB = 10;
constexpr std::uint32_t kRevisionC = 18;
constexpr std::uint32_t kRevisionLength = 8;
constexpr std::uint32_t kFamilyShort = 26;
constexpr std::uint32_t kFamilyLong = 364;
constexpr std::uint32_t kConfigId = 366;
constexpr std::uint8_t kFamilyInLongForm = 0xFE;
}  // namespace physparams

class VscPhysParam1v2Map : public BlockMap {
 public:
  using BlockMap::BlockMap;

  // Copies `length` bytes taken at `start`, `start + step`, ... into
  // `destination` and ends them with a zero byte; `destination` must hold
  // `length` + 1 bytes. Returns the text up to its first zero byte.
  std::string ReadPhysString(std::uint32_t start, std::uint32_t length,
                             char* destination, std::uint32_t destinationSize,
                             std::uint32_t step) const;

  // ReadPhysString into a destination of exactly `length` + 1 bytes.
  std::string PhysText(std::uint32_t start, std::uint32_t length,
                       std::uint32_t step = 1) const;
};

}  // namespace tessel
