// The fuzzer's bytes, taken from the front: each take is bounded by what
// is left, and what runs out reads as zeros.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
  // Up to `count` bytes; fewer when the input ends.
  std::vector<std::uint8_t> Bytes(std::size_t count) {
    const std::size_t take = std::min(count, size_ - at_);
    std::vector<std::uint8_t> bytes(data_ + at_, data_ + at_ + take);
    at_ += take;
    return bytes;
  }
  std::vector<std::uint8_t> Rest() { return Bytes(size_ - at_); }
  bool Empty() const { return at_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace fuzz
