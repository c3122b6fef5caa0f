#include "ata/identify_map.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/identify_fixture.h"

namespace tessel {
namespace {

// What each fixture block says, written out by hand.
struct Expected {
  const char* file;
  const char* model;
  const char* serial;
  const char* firmware;
  std::uint64_t sectors;
  std::uint32_t logicalSectorSize;
  std::uint64_t worldWideName;
  bool veltraxName;
  std::uint16_t familyId;
  std::uint8_t channelLevel;
  bool download;
  bool segmented;
  std::uint16_t minBlocks;
  std::uint16_t maxBlocks;
  bool securitySupported;
  bool securityEnabled;
};

constexpr Expected kFixtures[] = {
    {"identify_vx7221.txt", "VX7221-500G", "VX00A1B2C3", "02.01P02", 976773168, 512,
     0x5A1B2C3004D2A1B2, true, 666, 4, true, true, 1, 128, true, false},
    {"identify_vx7241_4k.txt", "VX7241-4T0E-B", "VX41Z00917", "03.02P05", 976754646, 4096,
     0x5C3D4E5001F0C3A7, true, 1234, 5, true, true, 8, 256, true, true},
    {"identify_other_maker.txt", "QD2000-NAS", "QD7Y4K0211", "CC41", 3907029168, 512,
     0x5011223340A1B2C3, false, 0, 0, false, false, 1, 128, false, false},
};

std::string Trimmed(const AtaIdentifyDeviceMap& map, std::uint32_t offset, std::uint32_t words) {
  char text[2 * identify::kModelWords + 1];
  map.ReadAtaString(offset, words, text, sizeof text);
  std::string s(text);
  return s.substr(0, s.find_last_not_of(' ') + 1);
}

TEST(IdentifyMap, FixtureBlocksDecodeToTheirFields) {
  for (const auto& e : kFixtures) {
    SCOPED_TRACE(e.file);
    const auto block = testing_support::ReadIdentifyFixture(e.file);
    ASSERT_EQ(block[0], 0x40) << "fixture missing";
    const AtaIdentifyDeviceMap map(block.data());
    EXPECT_EQ(Trimmed(map, identify::kModelOffset, identify::kModelWords), e.model);
    EXPECT_EQ(Trimmed(map, identify::kSerialOffset, identify::kSerialWords), e.serial);
    EXPECT_EQ(Trimmed(map, identify::kFirmwareOffset, identify::kFirmwareWords), e.firmware);
    EXPECT_EQ(map.UserAddressableSectors(), e.sectors);
    EXPECT_EQ(map.LogicalSectorSize(), e.logicalSectorSize);
    EXPECT_EQ(map.WorldWideName(), e.worldWideName);
    EXPECT_EQ(map.HasVeltraxWorldWideName(), e.veltraxName);
    if (e.veltraxName) {
      EXPECT_EQ(map.VeltraxFamilyId(), e.familyId);
    }
    EXPECT_EQ(map.VendorChannelLevel(), e.channelLevel);
    EXPECT_EQ(map.DownloadMicrocodeSupported(), e.download);
    EXPECT_EQ(map.SegmentedDownloadSupported(), e.segmented);
    EXPECT_EQ(map.DownloadMinimumBlocks(), e.minBlocks);
    EXPECT_EQ(map.DownloadMaximumBlocks(), e.maxBlocks);
    EXPECT_EQ(map.SecuritySupported(), e.securitySupported);
    EXPECT_EQ(map.SecurityEnabled(), e.securityEnabled);
    EXPECT_FALSE(map.NeedsSpinUp());
  }
}

}  // namespace
}  // namespace tessel
