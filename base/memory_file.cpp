#include "base/memory_file.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace base {

bool CMemFile::Write(const void* data, std::uint32_t count) {
  if (count == 0) return true;
  if (data == nullptr || count > UINT32_MAX - position_) return false;
  const std::uint64_t end = std::uint64_t{position_} + count;
  if (end > block_.size()) {
    const std::uint64_t grown = (end + growBytes_ - 1) / growBytes_ * growBytes_;
    try {
      block_.resize(static_cast<std::size_t>(grown));
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  std::memcpy(block_.data() + position_, data, count);
  position_ += count;
  length_ = std::max(length_, position_);
  return true;
}

std::uint32_t CMemFile::Read(void* buffer, std::uint32_t count) {
  if (buffer == nullptr || position_ >= length_) return 0;
  const std::uint32_t take = std::min(count, length_ - position_);
  std::memcpy(buffer, block_.data() + position_, take);
  position_ += take;
  return take;
}

}  // namespace base
