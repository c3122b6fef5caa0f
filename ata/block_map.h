// A private copy of one 512-byte block a drive returned, read only through
// the bounded readers: every field access is checked against the block's
// size.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "ata/fields.h"

namespace tessel {

class BlockMap {
 public:
  static constexpr std::uint32_t kBlockSize = 512;

  explicit BlockMap(const std::uint8_t* block) {
    std::memcpy(block_.data(), block, kBlockSize);
  }
  virtual ~BlockMap() = default;

  std::uint8_t Byte(std::uint32_t offset) const {
    return GetByte(block_.data(), size_, offset);
  }
  std::uint16_t Word(std::uint32_t offset) const {
    return GetWord(block_.data(), size_, offset);
  }
  std::uint32_t Dword(std::uint32_t offset) const {
    return GetDword(block_.data(), size_, offset);
  }
  std::uint64_t Qword(std::uint32_t offset) const {
    return GetQword(block_.data(), size_, offset);
  }
  const std::uint8_t* data() const { return block_.data(); }

 private:
  std::array<std::uint8_t, kBlockSize> block_;
  std::uint32_t size_ = kBlockSize;
};

}  // namespace tessel
