#include "sim/machine_description.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "os/ioctl.h"

namespace sim {
namespace {

TEST(MachineDescription, TheDefaultMachineHasEveryKindOfDrive) {
  const MachineDescription m = DefaultMachine();
  ASSERT_EQ(m.drives.size(), 7u);
  EXPECT_EQ(m.drives[0].drive.vscLevel, 4);
  EXPECT_EQ(m.drives[1].busType, os::kBusTypeUsb);
  EXPECT_EQ(m.drives[1].drive.vscLevel, 5);
  EXPECT_EQ(m.drives[2].drive.revisionSet, "02.01P02 .30.3C.31P");
  EXPECT_EQ(m.drives[3].drive.configId, 2446);
  EXPECT_TRUE(m.drives[5].drive.securityEnabled);
  EXPECT_EQ(m.drives[6].busType, os::kBusTypeScsi);
  EXPECT_EQ(m.drives[0].devicePath, u"\\Device\\Harddisk0\\DR0");
}

TEST(MachineDescription, EveryExampleOfTheDocsLoads) {
  std::ifstream docs(VX_SOURCE_DIR "/docs/sim-machine.md");
  ASSERT_TRUE(docs.is_open());
  std::stringstream all;
  all << docs.rdbuf();
  const std::string text = all.str();
  int examples = 0;
  for (std::size_t at = text.find("```json\n"); at != std::string::npos;
       at = text.find("```json\n", at)) {
    at += 8;
    const std::size_t end = text.find("```", at);
    std::string error;
    EXPECT_TRUE(ParseMachine(text.substr(at, end - at), error)) << error;
    ++examples;
    at = end;
  }
  EXPECT_EQ(examples, 3);
}

TEST(MachineDescription, ValuesAndMistakes) {
  std::string error;
  const auto m = ParseMachine(R"({"windows": {"major": 5}, "drives": [
      {"number": 9, "wwn": "0x5A1B2C3000000001", "linkOpenStatus": "0xC0000034",
       "faults": [{"on": "identify", "status": 81, "times": 2}]}]})", error);
  ASSERT_TRUE(m) << error;
  EXPECT_EQ(m->windowsMajor, 5u);
  EXPECT_EQ(m->drives[0].drive.wwn, 0x5A1B2C3000000001u);
  EXPECT_EQ(*m->drives[0].linkOpenStatus, static_cast<std::int32_t>(0xC0000034));
  EXPECT_EQ(m->drives[0].drive.faults[0].times, 2);

  const char* wrong[] = {
      R"({"drives": [{"number": 1, "modle": "VX"}]})",
      R"({"drives": [{"number": 1}, {"number": 1}]})",
      R"({"drives": [{"busType": 11}]})",
      R"({"drives": [{"number": "twelve"}]})",
      R"({"drives": [)",
  };
  for (const char* json : wrong) {
    error.clear();
    EXPECT_FALSE(ParseMachine(json, error)) << json;
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace sim
