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
  EXPECT_EQ(examples, 4);
}

TEST(MachineDescription, ValuesAndMistakes) {
  std::string error;
  const auto m = ParseMachine(R"({"windows": {"major": 5}, "firmwareInterface": true, "drives": [
      {"number": 9, "wwn": "0x5A1B2C3000000001", "linkOpenStatus": "0xC0000034",
       "deferredDownload": true,
       "faults": [{"on": "identify", "status": 81, "times": 2}]}]})", error);
  ASSERT_TRUE(m) << error;
  EXPECT_EQ(m->windowsMajor, 5u);
  EXPECT_TRUE(m->firmwareInterface);
  EXPECT_TRUE(m->drives[0].drive.deferredDownload);
  EXPECT_EQ(m->drives[0].drive.wwn, 0x5A1B2C3000000001u);
  EXPECT_EQ(*m->drives[0].linkOpenStatus, static_cast<std::int32_t>(0xC0000034));
  EXPECT_EQ(m->drives[0].drive.faults[0].times, 2);

  const char* wrong[] = {
      R"({"drives": [{"number": 1, "modle": "VX"}]})",
      R"({"drives": [{"number": 1}, {"number": 1}]})",
      R"({"drives": [{"busType": 11}]})",
      R"({"drives": [{"number": "twelve"}]})",
      R"({"drives": [)",
      R"({"firmwareInterface": 1})",
  };
  for (const char* json : wrong) {
    error.clear();
    EXPECT_FALSE(ParseMachine(json, error)) << json;
    EXPECT_FALSE(error.empty());
  }
}

// Each mistake names where it is and why, and no value wraps into another.
TEST(MachineDescription, OutOfRangeAndMisspeltValuesAreRefusedByName) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"drives": [{"number": 0, "vscLevel": 260}]})",
       "drives[0].vscLevel: 260 is out of range (at most 255)"},
      {R"({"drives": [{"number": 4294967296}]})",
       "drives[0].number: 4294967296 is out of range (at most 2147483647)"},
      {R"({"drives": [{"number": 0, "busType": 4294967307}]})",
       "drives[0].busType: 4294967307 is out of range (at most 4294967295)"},
      {R"({"drives": [{"number": -1}]})", "drives[0].number: negative"},
      {R"({"drives": [{"number": 0, "identifyWords": {"x1": 5}}]})",
       "drives[0].identifyWords: \"x1\" is not a position from 0 to 255"},
      {R"({"drives": [{"number": 0, "identifyWords": {"256": 5}}]})",
       "drives[0].identifyWords: \"256\" is not a position from 0 to 255"},
      {R"({"drives": [{"number": 0, "identifyWords": {"83": 65536}}]})",
       "drives[0].identifyWords.83: 65536 is out of range (at most 65535)"},
      {R"({"drives": [{"number": 0, "identifyWords": {"83": true}}]})",
       "drives[0].identifyWords.83: not a number"},
      {R"({"drives": [{"number": 0, "identifyWords": [1, 2]}]})",
       "drives[0].identifyWords: not an object"},
      {R"({"drives": [{"number": 0, "physParamBytes": {"512": 1}}]})",
       "drives[0].physParamBytes: \"512\" is not a position from 0 to 511"},
      {R"({"drives": [{"number": 0, "physParamBytes": {"26": 256}}]})",
       "drives[0].physParamBytes.26: 256 is out of range (at most 255)"},
      {R"({"drives": [{"number": 0, "faults": [{"on": "identfy"}]}]})",
       "drives[0].faults[0].on: unknown step \"identfy\""},
      {R"({"drives": [{"number": 0, "faults": [{"status": 81}]}]})",
       "drives[0].faults[0]: no \"on\""},
      {R"({"drives": [{"number": 0, "faults": {"on": "identify"}}]})",
       "drives[0].faults: not a list"},
      {R"({"power": {"acLineStatus": 256}, "drives": []})",
       "power: 256 is out of range (at most 255)"},
  };
  for (const auto& [json, message] : cases) {
    std::string error;
    EXPECT_FALSE(ParseMachine(json, error)) << json;
    EXPECT_EQ(error, message) << json;
  }
}

TEST(MachineDescription, PositionsAndNegativeStatusesAtTheirLimits) {
  std::string error;
  const auto m = ParseMachine(R"({"drives": [{"number": 0, "linkQueryStatus": -1073741772,
      "identifyWords": {"255": 65535}, "physParamBytes": {"511": 255},
      "faults": [{"on": "vendor:key", "times": -1}]}]})", error);
  ASSERT_TRUE(m) << error;
  const auto& d = m->drives[0];
  EXPECT_EQ(*d.linkQueryStatus, static_cast<std::int32_t>(0xC0000034));
  EXPECT_EQ(d.drive.identifyWords.at(255), 0xFFFF);
  EXPECT_EQ(d.drive.physParamBytes.at(511), 0xFF);
  EXPECT_EQ(d.drive.faults[0].times, -1);
}

}  // namespace
}  // namespace sim
