// Little-endian stores into byte blocks, whatever the host's byte order and
// struct packing: the request blocks the ATA library builds byte by byte,
// the record the firmware driver takes, registry DWORDs.
#pragma once

#include <cstdint>

namespace base {

// Stores the `width` low bytes of `value` at `offset`, least significant
// first, as far as they lie inside the `size` bytes of `block`; returns how
// many were stored. A store that does not fit writes the bytes that do.
constexpr std::uint32_t StoreLittleEndian(std::uint8_t* block, std::uint32_t size,
                                          std::uint32_t offset, std::uint64_t value,
                                          std::uint32_t width) {
  std::uint32_t stored = 0;
  for (; stored < width; ++stored) {
    // An offset near 2^32 must not wrap around to the start.
    if (block == nullptr || offset > UINT32_MAX - stored || offset + stored >= size) break;
    block[offset + stored] = static_cast<std::uint8_t>(value >> (8 * stored));
  }
  return stored;
}

}  // namespace base
