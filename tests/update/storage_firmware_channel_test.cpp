// GET_INFO's answer read within the bytes the call returned, the slot an
// image goes to and the size of its segments.
#include "update/storage_firmware_channel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/little_endian.h"

namespace update {
namespace {

std::vector<std::uint8_t> Answer(std::uint8_t slotCount, std::size_t slotsPresent) {
  std::vector<std::uint8_t> b(24 + 32 * slotsPresent, 0);
  b[8] = 1;
  b[9] = slotCount;
  b[10] = 1;
  b[11] = 0xFF;
  const std::uint32_t alignment = 4096, maxSize = 131072;
  std::memcpy(&b[16], &alignment, 4);
  std::memcpy(&b[20], &maxSize, 4);
  for (std::size_t i = 0; i < slotsPresent; ++i) {
    b[24 + 32 * i + 8] = static_cast<std::uint8_t>(i + 1);
    b[24 + 32 * i + 9] = i == 0 ? 1 : 0;  // the first slot is read-only
    std::memcpy(&b[24 + 32 * i + 16], "REV\x01\0junk", 9);
  }
  return b;
}

TEST(FirmwareInterfaceInfo, IsReadWithinTheReturnedBytes) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    bool parses;
  } cases[] = {
      {"shorter than its head", std::vector<std::uint8_t>(23, 0), false},
      {"a head that counts no slot", Answer(0, 0), true},
      {"two slots counted, one returned", Answer(2, 1), false},
      {"two slots counted and returned", Answer(2, 2), true},
  };
  for (const Case& c : cases) {
    const auto info =
        ParseFirmwareInterfaceInfo(c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()));
    EXPECT_EQ(info.has_value(), c.parses) << c.name;
  }
  const std::vector<std::uint8_t> two = Answer(2, 2);
  auto info = ParseFirmwareInterfaceInfo(two.data(), static_cast<std::uint32_t>(two.size()));
  ASSERT_TRUE(info);
  EXPECT_TRUE(info->supportUpgrade);
  EXPECT_EQ(info->activeSlot, 1);
  EXPECT_EQ(info->pendingActivateSlot, 0xFF);
  EXPECT_EQ(info->alignment, 4096u);
  EXPECT_EQ(info->maxSize, 131072u);
  ASSERT_EQ(info->slots.size(), 2u);
  EXPECT_TRUE(info->slots[0].readOnly);
  EXPECT_EQ(info->slots[1].number, 2);
  EXPECT_EQ(info->slots[1].revision, "REV?");
  EXPECT_EQ(WritableSlot(*info), 2);
  info->slots[1].readOnly = true;
  EXPECT_FALSE(WritableSlot(*info));
}

TEST(FirmwareInterfaceInfo, SegmentsAreTheLargestAlignedSizeWithinBothLimits) {
  struct Case {
    std::uint32_t alignment, maxSize, transferMax, segment;
  } cases[] = {
      {512, 65536, 0, 65536},       // no transferMax: the driver's maximum
      {512, 65536, 32768, 32768},   // the drive's own maximum is smaller
      {1536, 65536, 0, 64512},      // rounded down to the alignment
      {1536, 65536, 5120, 4608},
      {4096, 2048, 0, 0},           // the maximum is below the alignment
      {0, 65536, 0, 0},             // no alignment at all
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SegmentSize(c.alignment, c.maxSize, c.transferMax), c.segment)
        << c.alignment << " " << c.maxSize << " " << c.transferMax;
  }
}

TEST(LittleEndian, LoadsOnlyWhatLiesInsideTheBlock) {
  const std::uint8_t block[6] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
  struct Case {
    std::uint32_t offset, width;
    std::optional<std::uint64_t> value;
  } cases[] = {
      {0, 4, 0x04030201}, {2, 4, 0x06050403}, {3, 4, std::nullopt},
      {6, 0, 0},          {7, 0, std::nullopt}, {0xFFFFFFFF, 2, std::nullopt},
      {0, 9, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(base::LoadLittleEndian(block, sizeof block, c.offset, c.width), c.value)
        << c.offset << "+" << c.width;
  }
}

}  // namespace
}  // namespace update
