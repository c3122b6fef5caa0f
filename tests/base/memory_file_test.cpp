// The memory file the rich text pages stream from: grown in steps, read
// back in the pieces a reader asks for until a read gives nothing.
#include "base/memory_file.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace base {
namespace {

TEST(MemoryFile, GrowsInStepsAndReadsBackInPieces) {
  std::vector<std::uint8_t> text(2500);
  std::iota(text.begin(), text.end(), std::uint8_t{0});
  CMemFile file;
  ASSERT_TRUE(file.Write(text.data(), 1000));
  EXPECT_EQ(file.Capacity(), 1024u);
  ASSERT_TRUE(file.Write(text.data() + 1000, 1500));
  EXPECT_EQ(file.Capacity(), 3072u);
  EXPECT_EQ(file.GetLength(), 2500u);

  EXPECT_EQ(file.Read(nullptr, 10), 0u) << "at its end until rewound";
  file.SeekToBegin();
  std::vector<std::uint8_t> back;
  std::uint8_t piece[700];
  for (std::uint32_t got; (got = file.Read(piece, sizeof piece)) != 0;) {
    back.insert(back.end(), piece, piece + got);
  }
  EXPECT_EQ(back, text);
}

TEST(MemoryFile, WritingAfterARewindOverwritesAndKeepsTheLength) {
  CMemFile file;
  const char first[] = "abcdef";
  const char second[] = "XY";
  ASSERT_TRUE(file.Write(first, 6));
  file.SeekToBegin();
  ASSERT_TRUE(file.Write(second, 2));
  file.SeekToBegin();
  char back[6];
  ASSERT_EQ(file.Read(back, 6), 6u);
  EXPECT_EQ(std::string(back, 6), "XYcdef");
  EXPECT_TRUE(file.Write(nullptr, 0));
  EXPECT_FALSE(file.Write(nullptr, 1));
}

}  // namespace
}  // namespace base
