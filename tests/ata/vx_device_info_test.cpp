#include "ata/vx_device_info.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ata/exception.h"
#include "ata/vendor_mode.h"
#include "tests/ata/identify_block.h"
#include "tests/ata/scripted_drive.h"

namespace tessel {
namespace {

using test_support::IdentifyBlock;
using test_support::Reply;
using test_support::ScriptedDrive;
using Buffer = std::vector<std::uint8_t>;

struct PhysBlock {
  Buffer bytes = Buffer(512, 0);
  PhysBlock& Text(std::uint32_t at, const std::string& text) {
    std::copy(text.begin(), text.end(), bytes.begin() + at);
    return *this;
  }
  PhysBlock& Byte(std::uint32_t at, std::uint8_t v) {
    bytes[at] = v;
    return *this;
  }
  PhysBlock& Word(std::uint32_t at, std::uint16_t v) {
    bytes[at] = v & 0xFF;
    bytes[at + 1] = v >> 8;
    return *this;
  }
  VscPhysParam1v2Map Map() const { return VscPhysParam1v2Map(bytes.data()); }
};

Reply Response(std::uint32_t bytes) {
  Buffer sector(512, 0);
  sector[1] = 0x02;  // version 0x0200
  for (int i = 0; i < 4; ++i) sector[2 + i] = static_cast<std::uint8_t>(bytes >> (8 * i));
  return Reply{.data = sector};
}

// An information record whose table at h = 16 has values of 8 bytes and
// the entries `tags`, entry i holding the value "value-i" padded to 8.
Buffer InfoRecord(std::initializer_list<std::uint16_t> tags) {
  Buffer block(512, 0);
  block[4] = 16;
  block[18] = 8;
  block[20] = static_cast<std::uint8_t>(tags.size());
  std::uint32_t entry = 22;
  int i = 0;
  for (std::uint16_t tag : tags) {
    block[entry] = static_cast<std::uint8_t>(tag);
    const std::string value = "value-" + std::to_string(i++) + "!";
    std::copy(value.begin(), value.end(), block.begin() + entry + 2);
    entry += 10;
  }
  return block;
}

TEST(VxFamilyId, ShortOrLongFormAtBothLevels) {
  struct Case {
    std::uint8_t byte26;
    std::uint16_t word364;
    std::uint16_t level4;
    std::uint16_t level5;
  } cases[] = {
      {0x12, 0, 18, 18},
      {0xFE, 0x029A, 666, 666},
      {0x00, 0x029A, 0x0033, 0},  // level 4 falls back to IDENTIFY word 133
  };
  for (const auto& c : cases) {
    ScriptedDrive drive;
    drive.PrimeIdentify(IdentifyBlock().Model("VX7221").Word(133, 0x33));
    const auto map = PhysBlock().Byte(26, c.byte26).Word(364, c.word364).Map();
    EXPECT_EQ(VxVscImpl4DeviceInfo(drive, map).GetFamilyId(), c.level4);
    EXPECT_EQ(VxVscImpl5AtaDeviceInfo(drive, map).GetFamilyId(), c.level5);
  }
}

TEST(VxPhysParams, ConfigIdAndTexts) {
  ScriptedDrive drive;
  PhysBlock block;
  block.Word(366, 0x098D).Text(292, "TEXT-TWO-X").Text(304, "THREE").Text(184, "FOUR");
  block.Byte(257, '1').Byte(258, 0xFF).Byte(259, '2').Byte(260, 0xFF).Byte(261, '3');
  VxVscImpl4DeviceInfo info(drive, block.Map());
  EXPECT_EQ(info.GetConfigId(), 2445);
  EXPECT_EQ(info.GetPhysText1(), "123");
  EXPECT_EQ(info.GetPhysText2(), "TEXT-TWO-X");
  EXPECT_EQ(info.GetPhysText3(), "THREE");
  EXPECT_EQ(info.GetPhysText4(), "FOUR");
  EXPECT_EQ(info.GetPhysText6(), "");
  EXPECT_TRUE(drive.sent.empty());
}

TEST(VxRevisionSet, Level4ComposesTheThreeRevisionTexts) {
  ScriptedDrive drive;
  const auto full = PhysBlock().Text(2, "02.30").Text(10, "01.3C").Text(18, "02.31P");
  EXPECT_EQ(VxVscImpl4DeviceInfo(drive, full.Map()).GetFirmwareRevisionSet(),
            "02.01P02 .30.3C.31P");
  const auto shortC = PhysBlock().Text(2, "02.30").Text(10, "01.3C").Text(18, "02.31");
  EXPECT_EQ(VxVscImpl4DeviceInfo(drive, shortC.Map()).GetFirmwareRevisionSet(),
            "02.01");
}

class Level5Test : public ::testing::Test {
 protected:
  Level5Test() {
    drive.PrimeIdentify(IdentifyBlock().Model("VX7221").Word(142, 5));
  }
  // Enable, the key sector announcing `sectors`, and the data sectors.
  void ScriptRecord(std::uint32_t bytes, const std::vector<Buffer>& data) {
    drive.replies.push_back(Reply{});
    drive.replies.push_back(Response(0));
    drive.replies.push_back(Reply{});
    drive.replies.push_back(Response(bytes));
    for (const auto& sector : data) drive.replies.push_back(Reply{.data = sector});
    drive.replies.push_back(Reply{});
  }
  int Disables() const {
    int count = 0;
    for (const auto& s : drive.sent) {
      if (s.bytes.size() == 512 && s.bytes[0] == 0x46 && s.bytes[2] == 0x02) ++count;
    }
    return count;
  }
  ScriptedDrive drive;
  VxVscImpl5AtaDeviceInfo info{drive, PhysBlock().Map()};
};

TEST_F(Level5Test, AnInformationRecordIsOneWholeExchange) {
  ScriptRecord(512, {InfoRecord({3, 14, 7})});
  EXPECT_EQ(info.ReadInfoRecord(1), "value-1!");
  ASSERT_EQ(drive.sent.size(), 6u);
  Buffer key(512, 0);
  key[0] = 0x65;
  key[2] = 0x01;
  key[4] = 0x01;
  EXPECT_EQ(drive.sent[2].bytes, key);
  EXPECT_EQ(+drive.sent[4].taskfile.lba, 0xC24FBFu);
  EXPECT_EQ(Disables(), 1);
}

TEST_F(Level5Test, TheRevisionSetIsRecordOneABlankAndRecordZero) {
  ScriptRecord(512, {InfoRecord({14})});
  ScriptRecord(512, {InfoRecord({2, 14})});
  EXPECT_EQ(info.GetFirmwareRevisionSet(), "value-0! value-1!");
  EXPECT_EQ(drive.sent[2].bytes[4], 1);
  EXPECT_EQ(drive.sent[8].bytes[4], 0);
}

TEST_F(Level5Test, NoTag14GivesAnEmptyText) {
  ScriptRecord(512, {InfoRecord({3, 7})});
  EXPECT_EQ(info.ReadInfoRecord(0), "");
}

TEST_F(Level5Test, ZeroSectorsFailTheParseAfterDisable) {
  ScriptRecord(0, {});
  EXPECT_THROW(info.ReadInfoRecord(0), Exception);
  EXPECT_EQ(Disables(), 1);
  EXPECT_EQ(drive.sent.size(), 5u);
}

TEST_F(Level5Test, AValueRunningPastTheDataIsRefused) {
  Buffer record = InfoRecord({14});
  record[18] = 0xFF;  // L = 0x01FF: past the single sector read
  record[19] = 0x01;
  ScriptRecord(512, {record});
  try {
    info.ReadInfoRecord(0);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.code(), ErrorInvalidArgument);
    EXPECT_EQ(e.message(), "Offset out of bounds");
  }
}

TEST_F(Level5Test, AFailingStepAfterEnableLeavesVendorModeFirst) {
  drive.replies = {Reply{}, Response(0), Reply{},
                   Reply{.status = 0x51, .error = 0x04, .data = Response(512).data},
                   Reply{}};
  try {
    info.ReadInfoRecord(1);
    FAIL() << "no exception";
  } catch (const AtaException& e) {
    EXPECT_EQ(e.operation(), "key");
  }
  EXPECT_EQ(Disables(), 1);
  EXPECT_EQ(drive.sent.size(), 5u);
}

TEST_F(Level5Test, AFailedDisableDoesNotHideTheFailureOfTheStep) {
  drive.replies = {Reply{}, Response(0), Reply{}, Response(512),
                   Reply{.status = 0x51}, Reply{.status = 0x51}};
  try {
    info.ReadInfoRecord(1);
    FAIL() << "no exception";
  } catch (const AtaException& e) {
    EXPECT_EQ(e.operation(), "read data");
  }
  // The first Disable failed; the second left vendor mode.
  EXPECT_EQ(Disables(), 2);
}

// Enable may have switched the drive before it failed, so Disable follows.
TEST_F(Level5Test, AFailedEnableIsFollowedByDisable) {
  struct Case {
    const char* name;
    std::vector<Reply> enable;  // the key sector's and the response's replies
    std::string message;
  } cases[] = {
      {"response registers", {Reply{}, Reply{.status = 0x51, .data = Response(0).data}},
       "enable"},
      {"key registers", {Reply{.status = 0x51, .error = 0x04}}, "enable"},
      {"unreadable response", {Reply{}, Reply{.data = {0x00, 0x03}}}, "Unknown sense version"},
  };
  for (const auto& c : cases) {
    ScriptedDrive scripted;
    scripted.PrimeIdentify(IdentifyBlock().Model("VX7221").Word(142, 5));
    VxVscImpl5AtaDeviceInfo level5{scripted, PhysBlock().Map()};
    scripted.replies.assign(c.enable.begin(), c.enable.end());
    try {
      level5.ReadInfoRecord(1);
      ADD_FAILURE() << c.name << ": no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.message(), c.message) << c.name;
    }
    ASSERT_EQ(scripted.sent.size(), c.enable.size() + 1) << c.name;
    const Buffer& last = scripted.sent.back().bytes;
    EXPECT_EQ(last[0], 0x46) << c.name;
    EXPECT_EQ(last[2], 0x02) << c.name;
  }
}

// A key sector the drive refused is a failure even when the response read
// that follows it succeeds.
TEST_F(Level5Test, ARefusedKeySectorFailsTheRecord) {
  drive.replies = {Reply{}, Response(0), Reply{.status = 0x51, .error = 0x04},
                   Response(512), Reply{.data = InfoRecord({14})}, Reply{}};
  try {
    info.ReadInfoRecord(1);
    FAIL() << "no exception";
  } catch (const AtaException& e) {
    EXPECT_EQ(e.operation(), "key");
    EXPECT_EQ(+e.taskfile().outError, 0x04);
  }
  // Enable, its response, the refused key sector, Disable.
  EXPECT_EQ(drive.sent.size(), 4u);
  EXPECT_EQ(Disables(), 1);
}

TEST(VendorMode, DisableIsTriedThreeTimesAndEachFailureReported) {
  struct Case {
    int failingDisables;
    bool throws;
  } cases[] = {{0, false}, {1, false}, {2, false}, {3, true}};
  for (const auto& c : cases) {
    ScriptedDrive drive;
    drive.PrimeIdentify(IdentifyBlock().Model("VX7221").Word(142, 4));
    drive.replies.push_back(Reply{});  // enable
    for (int i = 0; i < c.failingDisables; ++i) {
      drive.replies.push_back(Reply{.status = 0x51, .error = 0x04});
    }
    std::vector<int> reported;
    auto channel = drive.CreateVsc();
    bool stepsRan = false;
    bool threw = false;
    try {
      InVendorMode(*channel, drive, [&] { stepsRan = true; },
                   [&](int attempt, const Exception& failure) {
                     reported.push_back(attempt);
                     EXPECT_EQ(failure.message(), "disable");
                   });
    } catch (const AtaException& e) {
      threw = true;
      EXPECT_EQ(e.operation(), "disable");
    }
    EXPECT_TRUE(stepsRan);
    EXPECT_EQ(threw, c.throws) << c.failingDisables;
    std::vector<int> expected;
    for (int i = 1; i <= c.failingDisables; ++i) expected.push_back(i);
    EXPECT_EQ(reported, expected);
    const std::size_t disables = std::min(c.failingDisables + 1, kDisableAttempts);
    EXPECT_EQ(drive.sent.size(), 1 + disables) << c.failingDisables;
  }
}

TEST(VendorMode, AFailingStepKeepsItsExceptionWhenDisableFailsToo) {
  ScriptedDrive drive;
  drive.PrimeIdentify(IdentifyBlock().Model("VX7221").Word(142, 4));
  for (int i = 0; i < 4; ++i) drive.replies.push_back(Reply{.status = 0x51});
  drive.replies.push_front(Reply{});
  auto channel = drive.CreateVsc();
  int reports = 0;
  try {
    InVendorMode(*channel, drive,
                 [] { throw Exception(ErrorInvalidArgument, "the step's own"); },
                 [&](int, const Exception&) { ++reports; });
    FAIL() << "no exception";
  } catch (const AtaException&) {
    FAIL() << "the failure to leave replaced the step's";
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), "the step's own");
  }
  EXPECT_EQ(reports, kDisableAttempts);
}

}  // namespace
}  // namespace tessel
