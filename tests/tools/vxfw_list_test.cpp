#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/log.h"
#include "base/string_table.h"
#include "os/fake/fake_system.h"
#include "tools/vxfw/vxfw.h"

namespace vxfw {
namespace {

TEST(VxfwList, TheDefaultMachineWithItsVerdicts) {
  os::fake::ScopedFakeSystem fake;
  fake.resources.SetStrings(&base::StringTable());
  fake.files.AddFolder(u"C:\\tools");
  fake.files.SetModulePath(u"C:\\tools\\vxfw.exe");
  Output output;
  ASSERT_EQ(RunVxfw({u"list", u"--machine", u"default", u"--json"}, output), 0) << output.err;
  base::CloseLog();
  const auto drives = nlohmann::json::parse(output.out);
  ASSERT_EQ(drives.size(), 6u);  // the SCSI drive is dropped
  const std::pair<bool, const char*> verdicts[] = {
      {true, "This drive qualifies for the update."},
      {true, "This drive qualifies for the update."},
      {false, "Drive already updated.\n"},
      {false, "Drive update not applicable.\n"},
      {false, "This is not a Veltrax drive"},
      {false, "Drive security enabled (BIOS hard drive password or drive encryption "
              "enabled), please disable drive security and try again."},
  };
  for (std::size_t i = 0; i < drives.size(); ++i) {
    EXPECT_EQ(drives[i]["Updatable"], verdicts[i].first) << i;
    EXPECT_EQ(drives[i]["UpdateMessage"], verdicts[i].second) << i;
    EXPECT_EQ(drives[i]["VendorModeLeftOn"], false);
    EXPECT_EQ(drives[i].size(), 26u);
  }
  EXPECT_EQ(drives[0]["DrivePath"], "\\\\.\\PhysicalDrive0");
  EXPECT_EQ(drives[0]["WWN"], "0x5A1B2C3000000A01");
  EXPECT_EQ(drives[0]["AvailableFirmwareFilePath"], "C:\\tools\\vx7221.bin");
  EXPECT_EQ(drives[1]["BusType"], 7);
  EXPECT_EQ(drives[1]["RevisionSuffix"], ".1A.3C.1BP");
  EXPECT_EQ(drives[3]["ConfigId"], 2446);
  EXPECT_EQ(drives[4]["ConfigId"], 0);
  EXPECT_TRUE(fake.files.Exists(u"C:\\tools\\VLXFMUpdate.log"));
}

// The example machines of the docs are what the demo and the README show:
// each loads, and its drive qualifies, so that the wizard gets as far as
// the point the example is about.
TEST(VxfwList, EachExampleMachineOfTheDocsHasADriveThatQualifies) {
  int examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(VX_SOURCE_DIR "/docs/machines")) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> json((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    os::fake::ScopedFakeSystem fake;
    fake.resources.SetStrings(&base::StringTable());
    fake.files.AddFolder(u"C:\\tools");
    fake.files.SetModulePath(u"C:\\tools\\vxfw.exe");
    fake.files.PutFile(u"C:\\machine.json", json);
    Output output;
    ASSERT_EQ(RunVxfw({u"list", u"--machine", u"C:\\machine.json", u"--json"}, output), 0)
        << entry.path() << ": " << output.err;
    base::CloseLog();
    const auto drives = nlohmann::json::parse(output.out);
    ASSERT_EQ(drives.size(), 1u) << entry.path();
    EXPECT_EQ(drives[0]["Updatable"], true) << entry.path();
    ++examples;
  }
  EXPECT_EQ(examples, 2);
}

TEST(VxfwList, BadOptionsAndMachinesExitWithTwo) {
  os::fake::ScopedFakeSystem fake;
  fake.files.PutFile(u"C:\\bad.json", {'{', '"', 'x'});
  const std::vector<std::u16string> cases[] = {
      {u"list", u"--machine"},
      {u"list", u"--trace", u"C:\\t.txt"},
      {u"list", u"--machine", u"C:\\missing.json"},
      {u"list", u"--machine", u"C:\\bad.json"},
      {u"list", u"--frobnicate"},
  };
  for (const auto& args : cases) {
    Output output;
    EXPECT_EQ(RunVxfw(args, output), 2);
    EXPECT_FALSE(output.err.empty());
  }
}

}  // namespace
}  // namespace vxfw
