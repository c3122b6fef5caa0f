#include "ata/fields.h"

#include "ata/exception.h"
#include "base/little_endian.h"

namespace tessel {
namespace {

constexpr std::uint32_t kBlockSize = 512;

[[noreturn]] void OutOfBounds() {
  throw Exception(ErrorInvalidArgument, "Offset out of bounds");
}

template <class T>
T Assemble(const std::uint8_t* buffer, std::uint32_t size,
           std::uint32_t offset) {
  T value = 0;
  for (std::uint32_t i = 0; i < sizeof(T); ++i) {
    // An offset near 2^32 must not wrap around to the start.
    if (offset > UINT32_MAX - i) OutOfBounds();
    value |= static_cast<T>(GetByte(buffer, size, offset + i)) << (8 * i);
  }
  return value;
}

}  // namespace

std::uint8_t GetByte(const std::uint8_t* buffer, std::uint32_t size,
                     std::uint32_t offset) {
  if (buffer == nullptr || offset >= size) OutOfBounds();
  return buffer[offset];
}

std::uint16_t GetWord(const std::uint8_t* buffer, std::uint32_t size,
                      std::uint32_t offset) {
  return Assemble<std::uint16_t>(buffer, size, offset);
}

std::uint32_t GetDword(const std::uint8_t* buffer, std::uint32_t size,
                       std::uint32_t offset) {
  return Assemble<std::uint32_t>(buffer, size, offset);
}

std::uint64_t GetQword(const std::uint8_t* buffer, std::uint32_t size,
                       std::uint32_t offset) {
  return Assemble<std::uint64_t>(buffer, size, offset);
}

void PutWord(std::uint8_t* buffer, std::uint32_t size, std::uint32_t offset,
             std::uint16_t value) {
  if (base::StoreLittleEndian(buffer, size, offset, value, 2) != 2) OutOfBounds();
}

void PutDword(std::uint8_t* buffer, std::uint32_t size, std::uint32_t offset,
              std::uint32_t value) {
  if (base::StoreLittleEndian(buffer, size, offset, value, 4) != 4) OutOfBounds();
}

void PutQword(std::uint8_t* block, std::uint32_t offset, std::uint64_t value) {
  if (base::StoreLittleEndian(block, kBlockSize, offset, value, 8) != 8) OutOfBounds();
}

}  // namespace tessel
