#include <gtest/gtest.h>

#include "ata/exception.h"
#include "ata/vsc4_impl.h"
#include "ata/vsc5_impl.h"
#include "tests/ata/scripted_drive.h"

namespace tessel {
namespace {

using test_support::Reply;
using test_support::ScriptedDrive;
using Buffer = std::vector<std::uint8_t>;

constexpr std::uint64_t Log(std::uint8_t address) {
  return 0xC24F00u | address;
}

// A level-5 response sector.
Reply Response(std::uint16_t version, std::uint32_t at2, std::uint32_t at10) {
  Buffer sector(512, 0);
  sector[0] = version & 0xFF;
  sector[1] = version >> 8;
  for (int i = 0; i < 4; ++i) {
    sector[2 + i] = static_cast<std::uint8_t>(at2 >> (8 * i));
    sector[10 + i] = static_cast<std::uint8_t>(at10 >> (8 * i));
  }
  return Reply{.data = sector};
}

void ExpectThrows(std::uint32_t code, const char* message,
                  const std::function<void()>& call) {
  try {
    call();
    ADD_FAILURE() << "no exception: " << message;
  } catch (const Exception& e) {
    EXPECT_EQ(e.code(), code);
    EXPECT_EQ(e.message(), message);
    EXPECT_EQ(e.detail(), 0);
  }
}

TEST(Vsc4, VendorModeIsANonDataCommandWithTheSignature) {
  ScriptedDrive drive;
  Vsc4Impl channel(drive);
  channel.Enable();
  channel.Disable();
  ASSERT_EQ(drive.sent.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    const Taskfile& t = drive.sent[i].taskfile;
    EXPECT_EQ(+t.command, 0x80);
    EXPECT_EQ(+t.lba, 0x613C00u);
    EXPECT_EQ(+t.device, 0);
    EXPECT_EQ(drive.sent[i].protocol, AtaProtocol::NonData);
  }
  EXPECT_EQ(+drive.sent[0].taskfile.features, 0x45);
  EXPECT_EQ(+drive.sent[1].taskfile.features, 0x44);
}

TEST(Vsc4, GetDataTableWritesTheKeySectorAndReadsWhatTheDriveAnnounced) {
  ScriptedDrive drive;
  drive.replies = {Reply{.lbaMid = 0x01, .lbaHigh = 0x00},
                   Reply{.data = Buffer(512, 0x77)}};
  Vsc4Impl channel(drive);
  Buffer table(512);
  EXPECT_EQ(channel.GetDataTable(1, table.data(), 512), 1);
  ASSERT_EQ(drive.sent.size(), 2u);
  Buffer key(512, 0);
  key[0] = 0x0D;
  key[2] = 0x01;
  EXPECT_EQ(drive.sent[0].bytes, key);
  EXPECT_EQ(+drive.sent[0].taskfile.features, 0xD6);
  EXPECT_EQ(+drive.sent[0].taskfile.lba, Log(0xBE));
  EXPECT_EQ(+drive.sent[0].taskfile.count, 1);
  EXPECT_EQ(drive.sent[0].protocol, AtaProtocol::PioOut);
  EXPECT_EQ(+drive.sent[1].taskfile.features, 0xD5);
  EXPECT_EQ(+drive.sent[1].taskfile.lba, Log(0xBF));
  EXPECT_EQ(+drive.sent[1].taskfile.count, 1);
  EXPECT_EQ(drive.sent[1].protocol, AtaProtocol::PioIn);
  EXPECT_EQ(table, Buffer(512, 0x77));
}

TEST(Vsc4, SizeRules) {
  ScriptedDrive drive;
  Vsc4Impl channel(drive);
  Buffer b(1024);
  ExpectThrows(ErrorInvalidArgument, "key sector should be 512 bytes",
               [&] { channel.WriteKeySector(b.data(), 1024); });
  ExpectThrows(ErrorInvalidArgument, "buffer should be 512 bytes",
               [&] { channel.ReadKeyLog(nullptr, 512); });
  ExpectThrows(ErrorNotImplemented, "not yet implemented",
               [&] { channel.ReadSense(b.data(), 512); });
  EXPECT_TRUE(drive.sent.empty());
  drive.replies = {Reply{.lbaMid = 4}};
  ExpectThrows(ErrorInvalidArgument, "GetDataTable() - buffer size is too small",
               [&] { channel.GetDataTable(1, b.data(), 1024); });
  EXPECT_EQ(drive.sent.size(), 1u);
}

TEST(Vsc5, EnableSendsTheSignatureAndReadsTheResponse) {
  ScriptedDrive drive;
  drive.replies = {Reply{}, Response(0x0200, 0, 0)};
  Vsc5Impl channel(drive);
  channel.Enable();
  ASSERT_EQ(drive.sent.size(), 2u);
  Buffer key(512, 0);
  key[0] = 0x46;
  key[2] = 0x01;
  std::copy(kVsc5VendorModeSignature.begin(), kVsc5VendorModeSignature.end(),
            key.begin() + 258);
  EXPECT_EQ(drive.sent[0].bytes, key);
  EXPECT_EQ(+drive.sent[1].taskfile.lba, Log(0xBD));
  EXPECT_EQ(+drive.sent[1].taskfile.features, 0xD5);

  channel.Disable();
  ASSERT_EQ(drive.sent.size(), 3u);
  key.assign(512, 0);
  key[0] = 0x46;
  key[2] = 0x02;
  EXPECT_EQ(drive.sent[2].bytes, key);
  EXPECT_EQ(+drive.sent[2].taskfile.lba, Log(0xBE));
}

TEST(Vsc5, TheResponseVersionTellsHowTheLengthIsGiven) {
  struct Case {
    Reply response;
    std::uint16_t sectors;
  } cases[] = {
      {Response(0x0200, 1000, 0), 1},
      {Response(0x0200, 512 * 3 + 511, 7), 3},
      {Response(0x0100, 5, 0x10002), 2},
  };
  for (const auto& c : cases) {
    ScriptedDrive drive;
    drive.replies = {Reply{}, c.response};
    Vsc5Impl channel(drive);
    Buffer key(512);
    EXPECT_EQ(channel.WriteKeySector(key.data(), 512), c.sectors);
  }
}

TEST(Vsc5, AnUnknownResponseVersionThrowsAlsoFromEnable) {
  ScriptedDrive drive;
  drive.replies = {Reply{}, Response(0x0300, 512, 1)};
  Vsc5Impl channel(drive);
  ExpectThrows(ErrorNotImplemented, "Unknown sense version", [&] { channel.Enable(); });
}

TEST(Vsc5, ZeroAnnouncedSectorsStillSendDataInWithCountZero) {
  ScriptedDrive drive;
  drive.replies = {Reply{}, Response(0x0200, 0, 0)};
  Vsc5Impl channel(drive);
  EXPECT_EQ(channel.GetDataTable(1, nullptr, 0), 0);
  ASSERT_EQ(drive.sent.size(), 3u);
  EXPECT_EQ(+drive.sent[2].taskfile.lba, Log(0xBF));
  EXPECT_EQ(+drive.sent[2].taskfile.count, 0);
  EXPECT_EQ(drive.sent[2].size, 0u);
}

TEST(Vsc5, ReadKeyLogSizeRules) {
  ScriptedDrive drive;
  Vsc5Impl channel(drive);
  Buffer b(1536);
  channel.ReadKeyLog(b.data(), 1536);
  ASSERT_EQ(drive.sent.size(), 1u);
  EXPECT_EQ(+drive.sent[0].taskfile.count, 3);
  EXPECT_EQ(+drive.sent[0].taskfile.lba, Log(0xBE));
  ExpectThrows(ErrorNotImplemented,
               "buffer size is too small, must be at least 1024 bytes",
               [&] { channel.ReadKeyLog(b.data(), 512); });
  ExpectThrows(ErrorInvalidArgument, "buffer size not a modulo of 512",
               [&] { channel.ReadKeyLog(b.data(), 1000); });
  ExpectThrows(ErrorInvalidArgument, "buffer size must be 512 bytes",
               [&] { channel.ReadSense(b.data(), 1024); });
  ExpectThrows(ErrorNotImplemented, "buffer size must be 512 bytes",
               [&] { channel.WriteKeySector(b.data(), 1024); });
  EXPECT_EQ(drive.sent.size(), 1u);
}

}  // namespace
}  // namespace tessel
