#include "sim/machine_after_restart.h"

#include <gtest/gtest.h>

#include "sim/firmware_image.h"
#include "tests/sim/sim_fixture.h"

namespace sim {
namespace {

using test_support::SimSystem;

// Drive 0 takes its new firmware at the next power cycle; drive 7 is never
// updated. The keys around them must come back as written.
constexpr char kMachine[] = R"({
  "comment": "kept",
  "power": {"acLineStatus": 1},
  "drives": [
    {"number": 7, "serial": "VX7"},
    {"number": "0", "serial": "VX0", "activatesAtRestart": true, "firmware": "02.01P02"}
  ]
})";

MachineDescription Parsed(const std::string& json) {
  std::string error;
  auto machine = ParseMachine(json, error);
  EXPECT_TRUE(machine) << error;
  return machine.value_or(MachineDescription{});
}

TEST(MachineAfterRestart, DrivesComeBackWithTheFirmwareTheyTookAndNothingElseChanges) {
  SimSystem sim(Parsed(kMachine));
  ASSERT_TRUE(sim.machine().Drive(0)->device().Activate(BuildDemoImage()));
  ASSERT_EQ(sim.machine().Drive(0)->device().firmware(), "02.01P02") << "waits for the restart";
  std::string error;
  const auto after = DescribeAfterRestart(kMachine, sim.machine(), error);
  ASSERT_TRUE(after) << error;
  EXPECT_EQ(sim.machine().Drive(0)->device().firmware(), "02.01P03");

  const MachineDescription next = Parsed(*after);
  ASSERT_EQ(next.drives.size(), 2u);
  EXPECT_EQ(next.drives[0].number, 7);
  EXPECT_EQ(next.drives[0].drive.firmware, "02.01P02");
  EXPECT_EQ(next.drives[0].drive.revisionSet, "02.01P02 .18.3C.19P");
  EXPECT_EQ(next.drives[1].drive.firmware, "02.01P03");
  EXPECT_EQ(next.drives[1].drive.revisionSet, "02.01P02 .30.3C.31P");
  EXPECT_TRUE(next.drives[1].drive.activatesAtRestart);
  EXPECT_LT(after->find("\"comment\": \"kept\""), after->find("\"power\"")) << *after;
  EXPECT_NE(after->find("\"number\": \"0\""), std::string::npos) << *after;
}

TEST(MachineAfterRestart, ATextThatIsNotTheMachineIsRefused) {
  struct Case {
    const char* json;
    const char* error;
  };
  const Case cases[] = {
      {"[1, 2]", "the machine description is not a JSON object"},
      {"{\"drives\": ", "the machine description is not a JSON object"},
      {R"({"drives": {"number": 0}})", "drives: not an array"},
      {R"({"drives": [{"number": 0}, {"number": 1}]})", "drives: the text describes another machine"},
  };
  for (const auto& c : cases) {
    SimSystem sim(Parsed(R"({"drives": [{"number": 0}]})"));
    std::string error;
    EXPECT_FALSE(DescribeAfterRestart(c.json, sim.machine(), error)) << c.json;
    EXPECT_EQ(error, c.error) << c.json;
  }
}

}  // namespace
}  // namespace sim
