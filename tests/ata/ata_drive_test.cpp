#include "ata/ata_drive.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ata/exception.h"
#include "ata/vsc_interface.h"
#include "tests/ata/identify_block.h"
#include "tests/ata/scripted_drive.h"

namespace tessel {
namespace {

using test_support::IdentifyBlock;
using test_support::Reply;
using test_support::ScriptedDrive;
using P = AtaProtocol;
using Buffer = std::vector<std::uint8_t>;

class AtaDriveTest : public ::testing::Test {
 protected:
  AtaDriveTest() { drive.PrimeIdentify(IdentifyBlock{}); }
  ScriptedDrive drive;
};

struct CommandRow {
  const char* name;
  std::function<void(AtaDrive&, std::uint8_t*)> call;
  std::uint8_t command;
  std::uint16_t features;
  std::uint16_t count;
  std::uint64_t lba;
  std::uint8_t device;
  P protocol;
  std::uint32_t size;  // handed to the transport; 0 for non-data
  bool zeroed;
};

// Every command of the set: the registers, protocol and buffer it hands to
// the transport, written out from the command table.
TEST_F(AtaDriveTest, EachCommandSendsItsRegistersAndProtocol) {
  const CommandRow rows[] = {
      {"IdentifyDevice", [](AtaDrive& d, auto* b) { d.IdentifyDevice(b, 1024); },
       0xEC, 0, 1, 0, 0, P::PioIn, 1024, true},
      {"DownloadMicrocode",
       [](AtaDrive& d, auto* b) { d.DownloadMicrocode(3, 2, 0x0A0B, b, 1024); },
       0x92, 3, 0x02, 0x0A0B00, 0, P::PioOut, 1024, false},
      {"ReadDma", [](AtaDrive& d, auto* b) { d.ReadDma(0x0ABCDEF1, 2, b, 1024); },
       0xC8, 0, 2, 0xBCDEF1, 0xEA, P::DmaIn, 1024, true},
      {"ReadDmaExt",
       [](AtaDrive& d, auto* b) { d.ReadDmaExt(0x123456789ABCull, 2, b, 1024); },
       0x25, 0, 2, 0x123456789ABC, 0xE0, P::DmaInExt, 1024, true},
      {"ReadLogDmaExt",
       [](AtaDrive& d, auto* b) { d.ReadLogDmaExt(0x0102, 0x30, 0xA1B2, 2, b, 1024); },
       0x47, 0x0102, 2, 0xA10000B230, 0x40, P::DmaInExt, 1024, false},
      {"ReadLogExt",
       [](AtaDrive& d, auto* b) { d.ReadLogExt(0, 0x04, 0x0001, 1, b, 1024); },
       0x2F, 0, 1, 0x0104, 0x40, P::PioInExt, 1024, false},
      {"ReadSectors", [](AtaDrive& d, auto* b) { d.ReadSectors(0x1234567, 1, b, 1024); },
       0x20, 0, 1, 0x234567, 0xE1, P::PioIn, 1024, true},
      {"ReadSectorsExt",
       [](AtaDrive& d, auto* b) { d.ReadSectorsExt(0xFFFF000000000001ull, 2, b, 1024); },
       0x24, 0, 2, 0xFFFF000000000001ull, 0xE0, P::PioInExt, 1024, true},
      {"ReadVerifySectors",
       [](AtaDrive& d, auto*) { d.ReadVerifySectors(0xF000010, 8); }, 0x40, 0, 8,
       0x000010, 0xEF, P::NonData, 0, false},
      {"ReadVerifySectorsExt",
       [](AtaDrive& d, auto*) { d.ReadVerifySectorsExt(0x10000000000ull, 300); },
       0x42, 0, 300, 0x10000000000ull, 0xE0, P::NonDataExt, 0, false},
      {"WriteDma", [](AtaDrive& d, auto* b) { d.WriteDma(5, 2, b, 1024); }, 0xCA, 0,
       2, 5, 0xE0, P::DmaOut, 1024, false},
      {"WriteDmaExt", [](AtaDrive& d, auto* b) { d.WriteDmaExt(5, 2, b, 1024); },
       0x35, 0, 2, 5, 0xE0, P::DmaOutExt, 1024, false},
      {"WriteLogDmaExt",
       [](AtaDrive& d, auto* b) { d.WriteLogDmaExt(7, 0x90, 0x0203, 2, b, 1024); },
       0x57, 7, 2, 0x0200000390, 0x40, P::DmaOutExt, 1024, false},
      {"WriteLogExt",
       [](AtaDrive& d, auto* b) { d.WriteLogExt(0, 0x90, 0, 1, b, 1024); }, 0x3F, 0,
       1, 0x90, 0x40, P::PioOutExt, 1024, false},
      {"WriteSectors", [](AtaDrive& d, auto* b) { d.WriteSectors(9, 1, b, 1024); },
       0x30, 0, 1, 9, 0xE0, P::PioOut, 1024, false},
      {"WriteSectorsExt",
       [](AtaDrive& d, auto* b) { d.WriteSectorsExt(9, 2, b, 1024); }, 0x34, 0, 2, 9,
       0xE0, P::PioOutExt, 1024, false},
      {"SmartDisableOperations",
       [](AtaDrive& d, auto*) { d.SmartDisableOperations(); }, 0xB0, 0xD9, 0,
       0xC24F00, 0xE0, P::NonData, 0, false},
      {"SmartEnableOperations", [](AtaDrive& d, auto*) { d.SmartEnableOperations(); },
       0xB0, 0xD8, 0, 0xC24F00, 0xE0, P::NonData, 0, false},
      {"SmartExecuteOfflineImmediate",
       [](AtaDrive& d, auto*) { d.SmartExecuteOfflineImmediate(0x7F); }, 0xB0, 0xD4,
       0, 0xC24F7F, 0xE0, P::NonData, 0, false},
      {"SmartReadData", [](AtaDrive& d, auto* b) { d.SmartReadData(b, 1024); }, 0xB0,
       0xD0, 1, 0xC24F00, 0xE0, P::PioIn, 1024, true},
      {"SmartReadLog", [](AtaDrive& d, auto* b) { d.SmartReadLog(0xE0, 1, b, 1024); },
       0xB0, 0xD5, 1, 0xC24FE0, 0xE0, P::PioIn, 1024, true},
      {"SmartReadThreshold",
       [](AtaDrive& d, auto* b) { d.SmartReadThreshold(b, 512); }, 0xB0, 0xD1, 1,
       0xC24F00, 0xE0, P::PioIn, 512, true},
      {"SmartReturnStatus", [](AtaDrive& d, auto*) { d.SmartReturnStatus(); }, 0xB0,
       0xDA, 0, 0xC24F00, 0xE0, P::NonData, 0, false},
      {"SmartWriteLog", [](AtaDrive& d, auto* b) { d.SmartWriteLog(0x80, 2, b, 1024); },
       0xB0, 0xD6, 2, 0xC24F80, 0xE0, P::PioOut, 1024, false},
      {"SctReadStatus", [](AtaDrive& d, auto* b) { d.SctReadStatus(b, 512); }, 0xB0,
       0xD5, 1, 0xC24FE0, 0xE0, P::PioIn, 512, true},
      {"DisableAcousticManagement",
       [](AtaDrive& d, auto*) { d.DisableAcousticManagement(); }, 0xEF, 0xC2, 0, 0,
       0x40, P::NonData, 0, false},
      {"EnableAcousticManagement",
       [](AtaDrive& d, auto*) { d.EnableAcousticManagement(0xFE); }, 0xEF, 0x42, 0xFE,
       0, 0x40, P::NonData, 0, false},
      {"SpinUp", [](AtaDrive& d, auto*) { d.SpinUp(); }, 0xEF, 0x07, 0, 0, 0,
       P::NonData, 0, false},
      {"FlushCache", [](AtaDrive& d, auto*) { d.FlushCache(); }, 0xE7, 0, 0, 0, 0,
       P::NonData, 0, false},
      {"FlushCacheExt", [](AtaDrive& d, auto*) { d.FlushCacheExt(); }, 0xEA, 0, 0, 0,
       0, P::NonDataExt, 0, false},
      {"CheckPowerMode", [](AtaDrive& d, auto*) { d.CheckPowerMode(); }, 0xE5, 0, 0,
       0, 0, P::NonData, 0, false},
      {"Idle", [](AtaDrive& d, auto*) { d.Idle(0x24); }, 0xE3, 0, 0x24, 0, 0,
       P::NonData, 0, false},
      {"IdleImmediate", [](AtaDrive& d, auto*) { d.IdleImmediate(); }, 0xE1, 0, 0, 0,
       0, P::NonData, 0, false},
      {"Sleep", [](AtaDrive& d, auto*) { d.Sleep(); }, 0xE6, 0, 0, 0, 0, P::NonData,
       0, false},
      {"StandbyImmediate", [](AtaDrive& d, auto*) { d.StandbyImmediate(); }, 0xE0, 0,
       0, 0, 0, P::NonData, 0, false},
      {"Standby", [](AtaDrive& d, auto*) { d.Standby(0x10); }, 0xE2, 0, 0x10, 0, 0,
       P::NonData, 0, false},
      {"Recalibrate", [](AtaDrive& d, auto*) { d.Recalibrate(); }, 0x10, 0, 0, 0, 0,
       P::NonData, 0, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    drive.sent.clear();
    Buffer buffer(1024, 0xAA);
    row.call(drive, buffer.data());
    ASSERT_EQ(drive.sent.size(), 1u);
    const auto& sent = drive.sent[0];
    EXPECT_EQ(+sent.taskfile.command, row.command);
    EXPECT_EQ(+sent.taskfile.features, row.features);
    EXPECT_EQ(+sent.taskfile.count, row.count);
    EXPECT_EQ(+sent.taskfile.lba, row.lba);
    EXPECT_EQ(+sent.taskfile.device, row.device);
    EXPECT_EQ(sent.protocol, row.protocol);
    EXPECT_EQ(sent.size, row.size);
    if (row.size == 0) {
      EXPECT_EQ(sent.buffer, nullptr);
    } else {
      EXPECT_EQ(sent.bytes, Buffer(row.size, row.zeroed ? 0x00 : 0xAA));
    }
  }
}

// Block count 15:8 rides in LBA 7:0, below the buffer offset.
TEST_F(AtaDriveTest, DownloadMicrocodeSplitsTheBlockCount) {
  Buffer image(0x0102 * 512);
  drive.DownloadMicrocode(7, 0x0102, 0x0304, image.data(), image.size());
  ASSERT_EQ(drive.sent.size(), 1u);
  EXPECT_EQ(+drive.sent[0].taskfile.count, 0x02);
  EXPECT_EQ(+drive.sent[0].taskfile.lba, 0x030401u);
  EXPECT_EQ(+drive.sent[0].taskfile.features, 7);
}

TEST_F(AtaDriveTest, BufferRulesRefuseBeforeAnythingIsSent) {
  struct Row {
    const char* message;
    std::function<void(AtaDrive&, std::uint8_t*)> call;
  } rows[] = {
      {"buffer is too small", [](AtaDrive& d, auto* b) { d.IdentifyDevice(b, 511); }},
      {"buffer is too small",
       [](AtaDrive& d, auto* b) { d.DownloadMicrocode(7, 3, 0, b, 1535); }},
      {"buffer is too small", [](AtaDrive& d, auto* b) { d.ReadDma(0, 3, b, 1024); }},
      {"buffer is too small",
       [](AtaDrive& d, auto* b) { d.ReadSectorsExt(0, 3, b, 1024); }},
      {"buffer is too small",
       [](AtaDrive& d, auto* b) { d.ReadLogExt(0, 0, 0, 3, b, 1024); }},
      {"buffer is too small", [](AtaDrive& d, auto* b) { d.WriteSectors(0, 3, b, 1024); }},
      {"buffer size is too small",
       [](AtaDrive& d, auto* b) { d.WriteLogExt(0, 0, 0, 3, b, 1024); }},
      {"buffer size is too small",
       [](AtaDrive& d, auto* b) { d.WriteLogDmaExt(0, 0, 0, 3, b, 1024); }},
      {"SmartReadData() - buffer size is too small",
       [](AtaDrive& d, auto* b) { d.SmartReadData(b, 511); }},
      {"SmartReadLog() - buffer size is too small",
       [](AtaDrive& d, auto* b) { d.SmartReadLog(0, 3, b, 1024); }},
      {"SmartReadThreshold() - buffer size is too small",
       [](AtaDrive& d, auto* b) { d.SmartReadThreshold(b, 100); }},
      {"buffer size is incorrect",
       [](AtaDrive& d, auto* b) { d.SmartWriteLog(0, 1, b, 1024); }},
      {"SmartReadLog() - buffer size is too small",
       [](AtaDrive& d, auto* b) { d.SctReadStatus(b, 511); }},
      {"SctWriteSame buffer size is too small",
       [](AtaDrive& d, auto* b) { d.SctWriteSame(0, 1, b, 511, 1); }},
      // One data sector exactly: refused before the command block goes out.
      {"buffer size is incorrect",
       [](AtaDrive& d, auto* b) { d.SctWriteSame(0, 1, b, 1024, 1); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    drive.sent.clear();
    Buffer buffer(1024, 0xAA);
    try {
      row.call(drive, buffer.data());
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.code(), ErrorInvalidArgument);
      EXPECT_EQ(e.message(), row.message);
      EXPECT_EQ(e.detail(), 0);
    }
    EXPECT_TRUE(drive.sent.empty());
    EXPECT_EQ(buffer, Buffer(1024, 0xAA));
  }
}

TEST_F(AtaDriveTest, SectorCountZeroPassesAnyBufferAndIsSent) {
  drive.ReadSectors(0, 0, nullptr, 0);
  ASSERT_EQ(drive.sent.size(), 1u);
  EXPECT_EQ(+drive.sent[0].taskfile.count, 0);
  Buffer larger(1024);
  drive.SmartReadLog(0x01, 1, larger.data(), 1024);
  EXPECT_EQ(drive.sent.size(), 2u);
}

TEST_F(AtaDriveTest, ResultsComeFromTheReturnedRegisters) {
  struct Download {
    std::uint16_t count;
    std::uint8_t result;
  } downloads[] = {{1, 1}, {2, 2}, {3, 3}, {4, 0}, {0, 0}, {0x0102, 2}};
  Buffer image(512, 0);
  for (const auto& d : downloads) {
    drive.replies.push_back(Reply{.count = d.count});
    EXPECT_EQ(drive.DownloadMicrocode(3, 1, 0, image.data(), 512), d.result);
  }
  drive.replies.push_back(Reply{.lbaMid = 0x4F, .lbaHigh = 0xC2});
  EXPECT_TRUE(drive.SmartReturnStatus());
  drive.replies.push_back(Reply{.lbaMid = 0xF4, .lbaHigh = 0x2C});
  EXPECT_FALSE(drive.SmartReturnStatus());
  drive.replies.push_back(Reply{.count = 0x12FF});
  EXPECT_EQ(drive.CheckPowerMode(), 0xFF);
  EXPECT_EQ(+drive.GetTaskfile().outCount, 0x12FF);
}

TEST(AtaDriveIdentify, SpinUpRequiredRepeatsIdentifyAfterSetFeatures) {
  ScriptedDrive drive;
  drive.replies = {Reply{.data = IdentifyBlock({{2, 0x37C8}})}, Reply{},
                   Reply{.data = IdentifyBlock({{2, 0x8C73}})}};
  Buffer buffer(512);
  drive.IdentifyDevice(buffer.data(), 512);
  ASSERT_EQ(drive.sent.size(), 3u);
  EXPECT_EQ(+drive.sent[0].taskfile.command, 0xEC);
  EXPECT_EQ(+drive.sent[1].taskfile.command, 0xEF);
  EXPECT_EQ(+drive.sent[1].taskfile.features, 0x07);
  EXPECT_EQ(+drive.sent[2].taskfile.command, 0xEC);
  // The repeat goes into the same buffer, which is not zeroed again.
  EXPECT_EQ(drive.sent[2].bytes[4], 0xC8);
  EXPECT_EQ(buffer[4], 0x73);
}

TEST(AtaDriveIdentify, AFailedIdentifyIsLeftInTheRegisters) {
  ScriptedDrive drive;
  drive.replies = {Reply{.status = 0x51, .error = 0x04,
                         .data = IdentifyBlock({{2, 0x37C8}})}};
  Buffer buffer(512);
  drive.IdentifyDevice(buffer.data(), 512);
  EXPECT_EQ(drive.sent.size(), 1u);
  EXPECT_TRUE(IsCommandFailure(drive.GetTaskfile()));
}

TEST(AtaDriveIdentify, AnEmptyCacheIsReadAgainOnNextUse) {
  ScriptedDrive drive;
  drive.replies = {Reply{.status = 0x51}, Reply{.data = IdentifyBlock{}}};
  drive.GetIdentifyData();
  drive.GetIdentifyData();
  drive.GetIdentifyData();
  EXPECT_EQ(drive.sent.size(), 2u);
}

TEST(AtaDriveIdentify, LogicalSectorSizeFromWords106And117) {
  struct Case {
    std::uint16_t word106;
    std::uint32_t words117;
    std::uint32_t size;
  } cases[] = {
      {0x7000, 0x800, 4096}, {0xF000, 0x800, 512}, {0x5000, 0, 512},
      {0x6000, 0x800, 512},  {0x5000, 0x1000, 0x2000},
  };
  for (const auto& c : cases) {
    ScriptedDrive drive;
    drive.PrimeIdentify(IdentifyBlock({{106, c.word106},
                                      {117, static_cast<std::uint16_t>(c.words117)},
                                      {118, static_cast<std::uint16_t>(c.words117 >> 16)}}));
    EXPECT_EQ(drive.GetLogicalSectorSize(), c.size) << std::hex << c.word106;
  }
}

TEST(AtaDriveIdentify, LargeSectorsRaiseTheBufferRule) {
  ScriptedDrive drive;
  drive.PrimeIdentify(IdentifyBlock({{106, 0x5000}, {117, 0x800}}));
  Buffer buffer(4096);
  EXPECT_THROW(drive.ReadSectors(0, 2, buffer.data(), 4096), Exception);
  drive.ReadSectors(0, 1, buffer.data(), 4096);
  EXPECT_EQ(drive.sent.size(), 1u);
}

TEST_F(AtaDriveTest, SctWriteSameSendsTheCommandBlockThenOneDataSector) {
  drive.replies = {Reply{.lbaMid = 1, .lbaHigh = 0}, Reply{}};
  Buffer data(512, 0x5A);
  drive.SctWriteSame(0x1122334455ull, 0x10, data.data(), 512, 0x01);
  ASSERT_EQ(drive.sent.size(), 2u);
  Buffer block(512, 0);
  const std::uint8_t head[] = {0x02, 0x00, 0x02, 0x01, 0x55, 0x44, 0x33, 0x22,
                               0x11, 0x00, 0x00, 0x00, 0x10};
  std::copy(std::begin(head), std::end(head), block.begin());
  EXPECT_EQ(drive.sent[0].bytes, block);
  EXPECT_EQ(+drive.sent[0].taskfile.lba, 0xC24FE0u);
  EXPECT_EQ(+drive.sent[1].taskfile.lba, 0xC24FE1u);
  EXPECT_EQ(drive.sent[1].bytes, data);
}

TEST_F(AtaDriveTest, SctWriteSameStopsWhenTheDriveAsksForOtherThanOneSector) {
  drive.replies = {Reply{.lbaMid = 0, .lbaHigh = 1}};
  Buffer data(512);
  try {
    drive.SctWriteSame(0, 1, data.data(), 512, 0);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.code(), ErrorAtaCommand);
    EXPECT_EQ(e.message(), "SctWriteSame data transfer invalid length");
  }
  EXPECT_EQ(drive.sent.size(), 1u);
}

TEST_F(AtaDriveTest, SctWriteSamePatternCarriesThePattern) {
  drive.SctWriteSamePattern(1, 2, 0xDEADBEEF, 0);
  ASSERT_EQ(drive.sent.size(), 1u);
  Buffer block(512, 0);
  const std::uint8_t head[] = {0x02, 0, 0x01, 0, 1, 0, 0, 0, 0, 0, 0, 0,
                               2,    0, 0,    0, 0, 0, 0, 0, 0xEF, 0xBE, 0xAD,
                               0xDE};
  std::copy(std::begin(head), std::end(head), block.begin());
  EXPECT_EQ(drive.sent[0].bytes, block);
}

TEST_F(AtaDriveTest, UnsupportedOperationsSayWhy) {
  const std::pair<const char*, std::function<void()>> rows[] = {
      {"Read task file not implemented",
       [&] {
         Taskfile t{};
         drive.AtaDrive::ReadTaskfile(t);
       }},
      {"Read SCR not implemented", [&] { drive.ReadScr(0); }},
      {"SATA BIST is not supported", [&] { drive.SataBist(0); }},
      {"Write SCR not implemented", [&] { drive.WriteScr(0, 0); }},
  };
  for (const auto& [message, call] : rows) {
    try {
      call();
      ADD_FAILURE() << message;
    } catch (const Exception& e) {
      EXPECT_EQ(e.code(), ErrorNotImplemented);
      EXPECT_EQ(e.message(), message);
    }
  }
  EXPECT_TRUE(drive.sent.empty());
}

TEST(AtaDriveVsc, TheChannelMatchesTheLevelInByte284) {
  for (std::uint16_t level : {3, 4, 5, 0}) {
    ScriptedDrive drive;
    drive.PrimeIdentify(IdentifyBlock({{142, level}}));
    auto channel = drive.CreateVsc();
    if (level == 4 || level == 5) {
      ASSERT_NE(channel, nullptr);
      EXPECT_EQ(channel->GetLevel(), level);
    } else {
      EXPECT_EQ(channel, nullptr);
    }
    EXPECT_TRUE(drive.sent.empty());
  }
}

TEST(AtaDriveDefaults, StartsWithThirtySecondsAndEmptyRecords) {
  ScriptedDrive drive;
  EXPECT_EQ(drive.GetTimeout(), 30000);
  EXPECT_EQ(+drive.GetTaskfile().outStatus, 0);
  drive.SetTimeout(999);
  EXPECT_EQ(drive.GetTimeout(), 999);
}

}  // namespace
}  // namespace tessel
