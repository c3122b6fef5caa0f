// The simulated machine's power source, restart and disk controllers, as
// the shell's operations see them.
#include <gtest/gtest.h>

#include "app/power.h"
#include "base/string_table.h"
#include "tests/drives/drives_fixture.h"
#include "update/amd_controller.h"

namespace drives::test_support {
namespace {

using SimShellTest = DrivesTest;

TEST_F(SimShellTest, PowerAndRestartComeFromTheMachine) {
  Load(R"({"power": {"acLineStatus": 0}, "drives": []})");
  EXPECT_EQ(app::CheckPowerSource(), -1);
  EXPECT_TRUE(LogHas(u"ACLineStatus = 0x0\r\n"));
  EXPECT_EQ(app::SystemReboot(), 1);
  EXPECT_EQ(sim_->simulated().power().Restarts(),
            (std::vector<std::pair<os::UINT, os::DWORD>>{{6, 0x80010007u}}));
  Load(R"({"power": {"failCode": 21}, "drives": []})");
  EXPECT_EQ(app::CheckPowerSource(), -1);
  EXPECT_EQ(sim_->fake().messages.Boxes().back().text, u"Unable to get power status (0x15).");
  Load(R"({"drives": []})");
  EXPECT_EQ(app::CheckPowerSource(), 0);
}

TEST_F(SimShellTest, TheControllersAreTheMachines) {
  Load(R"({"controllers": ["storahci", "AmdSata"], "drives": []})");
  EXPECT_EQ(update::FindAmdStorageController(), std::optional<std::u16string>(u"amdsata"));
  Load(R"({"controllers": ["storahci"], "drives": []})");
  EXPECT_EQ(update::FindAmdStorageController(), std::nullopt);
}

}  // namespace
}  // namespace drives::test_support
