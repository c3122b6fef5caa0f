// Little-endian fields of the blocks the simulated hardware parses and
// builds. Callers check the block's size first: a drive answers a block
// too short for its fields with an error before it reads them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

inline std::uint16_t Get16(const std::uint8_t* b) {
  return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

inline std::uint32_t Get32(const std::uint8_t* b) {
  return b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t{b[3]} << 24;
}

inline void Put16(std::uint8_t* b, std::uint32_t v) {
  b[0] = v & 0xFF;
  b[1] = (v >> 8) & 0xFF;
}

inline void Put32(std::uint8_t* b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[i] = (v >> (8 * i)) & 0xFF;
}

inline std::uint16_t Get16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return Get16(b.data() + at);
}

inline std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return Get32(b.data() + at);
}

}  // namespace sim
