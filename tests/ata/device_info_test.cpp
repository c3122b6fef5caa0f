#include "ata/device_info.h"

#include <gtest/gtest.h>

#include "ata/exception.h"
#include "ata/identify_map.h"
#include "tests/ata/identify_block.h"
#include "tests/ata/scripted_drive.h"

namespace tessel {
namespace {

using test_support::IdentifyBlock;
using test_support::ScriptedDrive;

class DeviceInfoTest : public ::testing::Test {
 protected:
  AtaDeviceInfo& With(const IdentifyBlock& block) {
    drive.PrimeIdentify(block);
    return info;
  }
  ScriptedDrive drive;
  AtaDeviceInfo info{drive};
};

TEST_F(DeviceInfoTest, StringsKeepTheirBlanksAndTrimOnlyBlanks) {
  auto& i = With(IdentifyBlock()
                     .Model("  VX7221-1TB-SATA3")
                     .Serial("")
                     .Firmware("02.01P\t "));
  EXPECT_EQ(i.GetModelNumber(), "  VX7221-1TB-SATA3" + std::string(22, ' '));
  EXPECT_EQ(i.GetModelNumberTrimmed(), "VX7221-1TB-SATA3");
  EXPECT_EQ(i.GetSerialNumber(), std::string(20, ' '));
  EXPECT_EQ(i.GetSerialNumberTrimmed(), "");
  EXPECT_EQ(i.GetFirmwareRevision(), "02.01P\t ");
  EXPECT_EQ(i.GetFirmwareRevisionTrimmed(), "02.01P\t");
}

TEST_F(DeviceInfoTest, AZeroByteEndsTheModel) {
  auto& i = With(IdentifyBlock().Model(std::string("VX72\0" "21", 7)));
  EXPECT_EQ(i.GetModelNumber(), "VX72");
}

TEST_F(DeviceInfoTest, SectorSizeAndCount) {
  struct Case {
    std::uint16_t w69, w83, w106;
    std::uint32_t w117;
    std::uint32_t sectorSize;
    std::uint64_t sectors;
  } cases[] = {
      {0, 0, 0x4000, 0x800, 512, 0x01020304},
      {0, 0, 0x5000, 2048, 4096, 0x01020304},
      {0, 0, 0x5000, 0, 512, 0x01020304},
      {0, 0, 0x0000, 2048, 512, 0x01020304},
      {0, 1 << 10, 0, 0, 512, 0x1111222233334444},
      {1 << 3, 1 << 10, 0, 0, 512, 0x5555666677778888},
  };
  for (const auto& c : cases) {
    ScriptedDrive d;
    d.PrimeIdentify(IdentifyBlock()
                        .Word(60, 0x0304)
                        .Word(61, 0x0102)
                        .Word(69, c.w69)
                        .Word(83, c.w83)
                        .Qword(100, 0x1111222233334444)
                        .Word(106, c.w106)
                        .Word(117, static_cast<std::uint16_t>(c.w117))
                        .Word(118, static_cast<std::uint16_t>(c.w117 >> 16))
                        .Qword(230, 0x5555666677778888));
    AtaDeviceInfo i(d);
    EXPECT_EQ(i.GetLogicalSectorSize(), c.sectorSize) << std::hex << c.w106;
    EXPECT_EQ(i.GetUserAddressableSectors(), c.sectors);
  }
}

TEST(CapacityText, ThreeSignificantDigitsAndADecimalUnit) {
  const std::pair<std::uint64_t, const char*> cases[] = {
      {0, "0.00M"},
      {999'999'999, "1.00G"},
      {500'107'862'016, "500G"},
      {2'000'398'934'016, "2.00T"},
      {16'000'900'661'248, "16.0T"},
      {5'000'000, "5.00M"},
      {123'456'789, "123M"},
      {UINT64_MAX, "18.4E"},
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(CapacityText(bytes), text) << bytes;
  }
}

TEST_F(DeviceInfoTest, CapacityMultipliesSectorSizeAndCount) {
  auto& i = With(IdentifyBlock()
                     .Word(83, 1 << 10)
                     .Qword(100, 976'773'168)
                     .Word(106, 0x4000));
  EXPECT_EQ(i.GetCapacity(), 500'107'862'016u);
  EXPECT_EQ(i.GetCapacityText(), "500G");
}

TEST(VeltraxTest, WorldWideNameOrModelOrSerial) {
  struct Case {
    std::uint64_t wwn;
    const char* model;
    const char* serial;
    bool veltrax;
  } cases[] = {
      {0x5A1B2C3000000001, "OTHER DISK", "S1", true},
      {0x5C3D4E5FFFFFFFFF, "", "", true},
      {0x5000CCA000000001, "VX7221", "S1", true},
      {0x5000CCA000000001, "  VX7221", "S1", true},
      {0x5000CCA000000001, "vx7221", "S1", false},
      {0x5000CCA000000001, "V", "S1", false},
      {0, "OTHER", "VX00012345", true},
      {0x5A1B2C4000000000, "OTHER", "S1", false},
  };
  for (const auto& c : cases) {
    ScriptedDrive d;
    d.PrimeIdentify(IdentifyBlock().Model(c.model).Serial(c.serial)
                        .Word(108, c.wwn >> 48)
                        .Word(109, static_cast<std::uint16_t>(c.wwn >> 32))
                        .Word(110, static_cast<std::uint16_t>(c.wwn >> 16))
                        .Word(111, static_cast<std::uint16_t>(c.wwn)));
    AtaDeviceInfo i(d);
    EXPECT_EQ(i.GetWorldWideName(), c.wwn);
    EXPECT_EQ(i.IsVeltraxDevice(), c.veltrax) << c.model << " " << std::hex << c.wwn;
  }
}

TEST(FamilyId, FromWords133And134ForVeltraxDrivesOnly) {
  struct Case {
    const char* model;
    std::uint16_t w133, w134, family;
  } cases[] = {
      {"VX7221", 0x00FE, 0x029A, 666},
      {"VX7221", 0x0012, 0x029A, 18},
      {"VX7221", 0x3412, 0x029A, 0x12},
      {"OTHER", 0x0012, 0x029A, 0},
  };
  for (const auto& c : cases) {
    ScriptedDrive d;
    d.PrimeIdentify(IdentifyBlock().Model(c.model).Word(133, c.w133).Word(134, c.w134));
    EXPECT_EQ(AtaDeviceInfo(d).GetFamilyId(), c.family);
  }
}

TEST_F(DeviceInfoTest, CheckLastCommandThrowsTheStepWithTheTaskfile) {
  auto& i = With(IdentifyBlock());
  i.CheckLastCommand("enable");
  drive.replies.push_back(test_support::Reply{.status = 0x51, .error = 0x04});
  drive.FlushCache();
  try {
    i.CheckLastCommand("read phy params");
    FAIL() << "no exception";
  } catch (const AtaException& e) {
    EXPECT_EQ(e.operation(), "read phy params");
    EXPECT_EQ(+e.taskfile().outError, 0x04);
  }
}

TEST(IdentifyMap, ReadAtaStringNeedsRoomForTheTerminator) {
  const std::vector<std::uint8_t> block = IdentifyBlock().Firmware("ABCDEFGH");
  const AtaIdentifyDeviceMap map(block.data());
  char text[9];
  map.ReadAtaString(46, 4, text, 9);
  EXPECT_STREQ(text, "ABCDEFGH");
  text[0] = 'x';
  try {
    map.ReadAtaString(46, 4, text, 8);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), "destination string too small");
    EXPECT_EQ(text[0], 'x');
  }
  EXPECT_THROW(map.ReadAtaString(510, 2, text, 9), Exception);
}

}  // namespace
}  // namespace tessel
