// A file in memory, as the framework's memory file keeps one: written and
// read at a position, its block grown in steps of a fixed size. The
// license and warning pages hold their rich text in one while the rich
// edit control reads it.
#pragma once

#include <cstdint>
#include <vector>

namespace base {

class CMemFile {
 public:
  explicit CMemFile(std::uint32_t growBytes = 1024) : growBytes_(growBytes == 0 ? 1 : growBytes) {}

  // Writes at the position and moves it on; false when the block cannot
  // grow (the file is then unchanged).
  bool Write(const void* data, std::uint32_t count);
  // Up to `count` bytes from the position; how many were read.
  std::uint32_t Read(void* buffer, std::uint32_t count);
  void SeekToBegin() { position_ = 0; }

  std::uint32_t GetLength() const { return length_; }
  // The block's size: a multiple of the step.
  std::size_t Capacity() const { return block_.size(); }

 private:
  std::uint32_t growBytes_;
  std::vector<std::uint8_t> block_;
  std::uint32_t length_ = 0;
  std::uint32_t position_ = 0;
};

}  // namespace base
