#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "base/log.h"
#include "base/string_table.h"
#include "os/fake/fake_system.h"
#include "sim/firmware_image.h"
#include "tests/support/utf16.h"
#include "tools/vxfw/vxfw.h"

namespace vxfw {
namespace {

class VxfwUpdate : public testing::Test {
 protected:
  VxfwUpdate() {
    fake.resources.SetStrings(&base::StringTable());
    fake.files.AddFolder(u"C:\\tools");
    fake.files.SetModulePath(u"C:\\tools\\vxfw.exe");
    fake.files.PutFile(u"C:\\tools\\vx7221.bin", sim::BuildDemoImage());
    fake.files.PutFile(u"C:\\tools\\VLXFMDriver32.sys", {'s', 'y', 's'});
  }
  ~VxfwUpdate() override { base::CloseLog(); }
  os::fake::ScopedFakeSystem fake;
};

TEST_F(VxfwUpdate, UpdatesTheDefaultMachinesQualifyingDrives) {
  Output output;
  ASSERT_EQ(RunVxfw({u"update", u"--machine", u"default"}, output), 0) << output.err;
  EXPECT_NE(output.out.find("Updating drive VX7221-500G-A (VX10000001), 1 of 2"), std::string::npos);
  EXPECT_NE(output.out.find("Updating drive VX7221-1T0-U (VX10000002), 2 of 2"), std::string::npos);
  EXPECT_NE(output.out.find("100% Done"), std::string::npos);
  EXPECT_NE(output.out.find("UPDATE DONE\r\n\r\n"
                            "Drive VX10000001 firmware revision read back: 02.01P03\n"
                            "Drive VX10000002 firmware revision read back: 02.01P03\n"),
            std::string::npos);
}

TEST_F(VxfwUpdate, JsonOnePerStatusAndTheSelectionByName) {
  Output output;
  ASSERT_EQ(RunVxfw({u"update", u"--machine", u"default", u"--select", u"VX10000002", u"--json"},
                    output),
            0)
      << output.err;
  std::vector<nlohmann::json> statuses;
  std::size_t at = 0;
  for (std::size_t end; (end = output.out.find('\n', at)) != std::string::npos; at = end + 1) {
    statuses.push_back(nlohmann::json::parse(output.out.substr(at, end - at)));
  }
  ASSERT_GE(statuses.size(), 7u);
  const nlohmann::json readBack = statuses.back();
  statuses.pop_back();
  EXPECT_EQ(readBack, nlohmann::json::parse(
                          R"({"readBack": [{"serial": "VX10000002", "firmware": "02.01P03"}]})"));
  EXPECT_EQ(statuses[1]["text"].get<std::string>().rfind("Updating drive VX7221-1T0-U (VX10000002), 1 of 1", 0), 0u);
  for (const auto& s : statuses) {
    const int kind = s["kind"];
    EXPECT_EQ(s.contains("rangeMax"), kind == 1);
    EXPECT_EQ(s.contains("percent"), kind == 2);
  }
  EXPECT_EQ(statuses.back()["kind"], 4);
}

// Without its driver the tool takes Windows' own firmware interface, which
// the default machine offers; a machine without it fails the run.
TEST_F(VxfwUpdate, WithoutItsDriverTheWindowsRoadOrNone) {
  fake.files.AddFolder(u"C:\\bare");
  fake.files.SetModulePath(u"C:\\bare\\vxfw.exe");
  fake.files.PutFile(u"C:\\bare\\vx7221.bin", sim::BuildDemoImage());
  Output windows;
  ASSERT_EQ(RunVxfw({u"update", u"--machine", u"default"}, windows), 0) << windows.out;
  EXPECT_NE(windows.out.find("Drive VX10000002 firmware revision read back: 02.01P03"),
            std::string::npos);
  base::CloseLog();
  const std::u16string log =
      testing_support::Utf16Of(fake.files.Contents(u"C:\\bare\\VLXFMUpdate.log"));
  EXPECT_NE(log.find(u"Update road: Windows storage firmware interface"), std::u16string::npos);

  const std::string bare = R"({"drives": [{"number": 0}]})";
  fake.files.PutFile(u"C:\\bare\\machine.json", {bare.begin(), bare.end()});
  Output none;
  EXPECT_EQ(RunVxfw({u"update", u"--machine", u"C:\\bare\\machine.json"}, none), 1);
  EXPECT_NE(none.out.find("ERROR => Failed to load driver (0x2)"), std::string::npos);
  EXPECT_NE(none.out.find("Neither update road is available"), std::string::npos);
}

TEST_F(VxfwUpdate, RealDrivesAreNeverUpdatedFromTheConsole) {
  Output output;
  EXPECT_EQ(RunVxfw({u"update"}, output), 2);
  EXPECT_NE(output.err.find("simulated machine only"), std::string::npos);
}

}  // namespace
}  // namespace vxfw
