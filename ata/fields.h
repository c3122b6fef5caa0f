// Little-endian fields in byte buffers, read and written only inside the
// buffer: any byte outside it throws ErrorInvalidArgument,
// "Offset out of bounds".
#pragma once

#include <cstdint>
#include <vector>

namespace tessel {

std::uint8_t GetByte(const std::uint8_t* buffer, std::uint32_t size,
                     std::uint32_t offset);
std::uint16_t GetWord(const std::uint8_t* buffer, std::uint32_t size,
                      std::uint32_t offset);
std::uint32_t GetDword(const std::uint8_t* buffer, std::uint32_t size,
                       std::uint32_t offset);
std::uint64_t GetQword(const std::uint8_t* buffer, std::uint32_t size,
                       std::uint32_t offset);

// Into `size` bytes, byte by byte: the bytes before the first one past the
// end stay written when it throws.
void PutWord(std::uint8_t* buffer, std::uint32_t size, std::uint32_t offset,
             std::uint16_t value);
void PutDword(std::uint8_t* buffer, std::uint32_t size, std::uint32_t offset,
              std::uint32_t value);
// Into the whole of `block`.
inline void PutWord(std::vector<std::uint8_t>& block, std::uint32_t offset,
                    std::uint16_t value) {
  PutWord(block.data(), static_cast<std::uint32_t>(block.size()), offset, value);
}
inline void PutDword(std::vector<std::uint8_t>& block, std::uint32_t offset,
                     std::uint32_t value) {
  PutDword(block.data(), static_cast<std::uint32_t>(block.size()), offset, value);
}
// Into a 512-byte block.
void PutQword(std::uint8_t* block, std::uint32_t offset, std::uint64_t value);

}  // namespace tessel
