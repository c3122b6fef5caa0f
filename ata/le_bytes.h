// Little-endian stores into request blocks the transports build byte by
// byte, whatever the host's struct packing.
#pragma once

#include <cstdint>
#include <vector>

namespace tessel {

inline void Put16(std::vector<std::uint8_t>& block, std::uint32_t offset,
                  std::uint32_t value) {
  block.at(offset) = value & 0xFF;
  block.at(offset + 1) = (value >> 8) & 0xFF;
}

inline void Put32(std::vector<std::uint8_t>& block, std::uint32_t offset,
                  std::uint32_t value) {
  for (std::uint32_t i = 0; i < 4; ++i) {
    block.at(offset + i) = (value >> (8 * i)) & 0xFF;
  }
}

// LBA byte `n` (bits 8n+7:8n) of a task file's address.
inline std::uint8_t LbaByte(std::uint64_t lba, unsigned n) {
  return static_cast<std::uint8_t>(lba >> (8 * n));
}

}  // namespace tessel
