// Little-endian loads and stores on byte blocks, whatever the host's byte order and
// struct packing: the request blocks the ATA library builds byte by byte,
// the record the firmware driver takes, registry DWORDs.
#pragma once

#include <cstdint>
#include <optional>

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

// The `width`-byte value at `offset`, least significant byte first; none
// unless all of it lies inside the `size` bytes of `block`.
constexpr std::optional<std::uint64_t> LoadLittleEndian(const std::uint8_t* block,
                                                        std::uint32_t size,
                                                        std::uint32_t offset,
                                                        std::uint32_t width) {
  if (block == nullptr || width > 8 || offset > size || size - offset < width) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (std::uint32_t i = width; i > 0; --i) value = value << 8 | block[offset + i - 1];
  return value;
}

}  // namespace base
