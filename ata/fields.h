// Little-endian fields in byte buffers, read and written only inside the
// buffer: any byte outside it throws ErrorInvalidArgument,
// "Offset out of bounds".
#pragma once

#include <cstdint>

namespace tessel {

std::uint8_t GetByte(const std::uint8_t* buffer, std::uint32_t size,
                     std::uint32_t offset);
std::uint16_t GetWord(const std::uint8_t* buffer, std::uint32_t size,
                      std::uint32_t offset);
std::uint32_t GetDword(const std::uint8_t* buffer, std::uint32_t size,
                       std::uint32_t offset);
std::uint64_t GetQword(const std::uint8_t* buffer, std::uint32_t size,
                       std::uint32_t offset);

// Into a 512-byte block, byte by byte: the bytes before the first one past
// the block stay written when it throws.
void PutQword(std::uint8_t* block, std::uint32_t offset, std::uint64_t value);

}  // namespace tessel
