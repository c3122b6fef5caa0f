#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ata/device_info.h"
#include "os/fake/fake_system.h"
#include "tests/ata/identify_block.h"
#include "tests/ata/scripted_drive.h"
#include "tools/vxfw/identify_file.h"
#include "tools/vxfw/vxfw.h"

namespace vxfw {
namespace {

using tessel::test_support::IdentifyBlock;

class VxfwIdentify : public testing::Test {
 protected:
  VxfwIdentify() { fake_.files.AddFolder(u"C:\\cases"); }

  int Run(std::vector<std::u16string> args) { return RunVxfw(args, output_); }

  os::fake::ScopedFakeSystem fake_;
  Output output_;
};

// A drive that waited for its spin-up when the block was stored still
// decodes from the block as it stands.
TEST_F(VxfwIdentify, ABlockOfADriveAwaitingSpinUpDecodesAsItStands) {
  const std::vector<std::uint8_t> block =
      IdentifyBlock().Word(2, 0x37C8).Model("VX7221-500G").Serial("VX1").Firmware("02.01P02");
  fake_.files.PutFile(u"C:\\cases\\spinup.bin", block);
  ASSERT_EQ(Run({u"identify", u"C:\\cases\\spinup.bin", u"--json"}), 0) << output_.err;
  const auto j = nlohmann::json::parse(output_.out);
  EXPECT_EQ(j["modelTrimmed"], "VX7221-500G");
  EXPECT_EQ(j["firmwareTrimmed"], "02.01P02");
}

TEST_F(VxfwIdentify, JsonAgreesWithTheLibrary) {
  const std::vector<std::uint8_t> block = IdentifyBlock()
                                              .Model("  VX7221-2T")
                                              .Serial("SN\xE9" "42")
                                              .Firmware("02.01P02")
                                              .Word(83, 0x4401)
                                              .Word(86, 0x0001)
                                              .Qword(100, 3'907'029'168)
                                              .Word(83, 0x4401 | 1 << 10)
                                              .Word(119, 0x10)
                                              .Word(234, 8)
                                              .Word(235, 256)
                                              .Word(128, 3)
                                              .Word(142, 5)
                                              .Word(108, 0x5C3D)
                                              .Word(109, 0x4E50)
                                              .Word(133, 0x12);
  fake_.files.PutFile(u"C:\\cases\\id.bin", block);
  ASSERT_EQ(Run({u"identify", u"C:\\cases\\id.bin", u"--json"}), 0) << output_.err;

  tessel::test_support::ScriptedDrive drive;
  drive.PrimeIdentify(block);
  tessel::AtaDeviceInfo info(drive);
  const auto j = nlohmann::json::parse(output_.out);
  EXPECT_EQ(j.size(), 20u);
  EXPECT_EQ(j["model"], info.GetModelNumber());
  EXPECT_EQ(j["modelTrimmed"], "VX7221-2T");
  EXPECT_EQ(j["serial"], "SN\xC3\xA9" "42" + std::string(15, ' '));
  EXPECT_EQ(j["firmwareTrimmed"], info.GetFirmwareRevisionTrimmed());
  EXPECT_EQ(j["userAddressableSectors"], info.GetUserAddressableSectors());
  EXPECT_EQ(j["capacity"], info.GetCapacity());
  EXPECT_EQ(j["capacityText"], "2.00T");
  EXPECT_EQ(j["worldWideName"], "0x5C3D4E5000000000");
  EXPECT_EQ(j["veltrax"], true);
  EXPECT_EQ(j["familyId"], 18);
  EXPECT_EQ(j["vscLevel"], 5);
  EXPECT_EQ(j["downloadMicrocode"], true);
  EXPECT_EQ(j["segmentedDownload"], false);  // word 120 bit 4 is clear
  EXPECT_EQ(j["transferMinBlocks"], 8);
  EXPECT_EQ(j["transferMaxBlocks"], 256);
  EXPECT_EQ(j["securitySupported"], true);
  EXPECT_EQ(j["securityEnabled"], true);
}

TEST_F(VxfwIdentify, UnusableInputExitsWithTwoAndSaysWhy) {
  fake_.files.PutFile(u"C:\\cases\\short.bin", std::vector<std::uint8_t>(511, 0));
  const std::pair<std::vector<std::u16string>, const char*> cases[] = {
      {{u"identify", u"C:\\cases\\short.bin"}, "not an IDENTIFY DEVICE block"},
      {{u"identify", u"C:\\cases\\missing.bin"}, "cannot read"},
      {{u"identify"}, "usage"},
      {{u"frobnicate"}, "usage"},
  };
  for (const auto& [args, message] : cases) {
    output_ = {};
    EXPECT_EQ(Run(args), 2);
    EXPECT_NE(output_.err.find(message), std::string::npos) << output_.err;
    EXPECT_TRUE(output_.out.empty());
  }
}

TEST(IdentifyFile, TextWordsWithAnySeparators) {
  std::string text;
  for (int i = 0; i < 256; ++i) text += (i % 8 ? ", " : "\n") + std::string(i == 1 ? "ABcd" : "0001");
  std::string error;
  const auto block = ParseIdentifyFile({text.begin(), text.end()}, error);
  ASSERT_TRUE(block) << error;
  EXPECT_EQ((*block)[0], 0x01);
  EXPECT_EQ((*block)[1], 0x00);
  EXPECT_EQ((*block)[2], 0xCD);
  EXPECT_EQ((*block)[3], 0xAB);

  const std::string wrong[] = {text + " 0002", text.substr(0, text.size() - 5),
                               "0x0040" + text.substr(5)};
  for (const auto& w : wrong) {
    EXPECT_FALSE(ParseIdentifyFile({w.begin(), w.end()}, error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace vxfw
