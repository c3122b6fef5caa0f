#include "app/power.h"

#include <gtest/gtest.h>

#include "base/log.h"
#include "base/string_table.h"
#include "os/constants.h"
#include "os/fake/fake_system.h"
#include "tests/support/utf16.h"

namespace app {
namespace {

class PowerTest : public testing::Test {
 protected:
  PowerTest() {
    fake.resources.SetStrings(&base::StringTable());
    fake.files.AddFolder(u"C:\\app");
    fake.files.SetModulePath(u"C:\\app\\VLXFMWizardApp.exe");
    base::OpenLog(nullptr);
  }
  ~PowerTest() override { base::CloseLog(); }
  std::u16string Log() {
    const auto bytes = fake.files.Contents(u"C:\\app\\VLXFMUpdate.log");
    return testing_support::Utf16Of(bytes);
  }
  os::fake::ScopedFakeSystem fake;
};

TEST_F(PowerTest, OnlyMainsPowerLetsTheUpdateGoOn) {
  struct Case {
    std::uint8_t line;
    std::int32_t result;
    const char16_t* log;
  } cases[] = {{1, 0, u""}, {0, -1, u"ACLineStatus = 0x0\r\n"}, {255, -1, u"ACLineStatus = 0xff\r\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    base::CloseLog();
    fake.files.PutFile(u"C:\\app\\VLXFMUpdate.log", {});
    base::OpenLog(nullptr);
    const auto boxesBefore = fake.messages.Boxes().size();
    fake.power.acLineStatus = c.line;
    EXPECT_EQ(CheckPowerSource(), c.result);
    EXPECT_EQ(Log(), c.log);
    const auto boxes = fake.messages.Boxes();
    if (c.result == 0) {
      EXPECT_EQ(boxes.size(), boxesBefore);
    } else {
      ASSERT_EQ(boxes.size(), boxesBefore + 1);
      EXPECT_EQ(boxes.back().text, u"Please plug in the AC power and continue.");
      EXPECT_EQ(boxes.back().caption, u"Veltrax Drive Update Update Wizard");
      EXPECT_EQ(boxes.back().type, os::kMbOk | os::kMbIconError);
    }
  }
}

TEST_F(PowerTest, AnUnreadablePowerStatusShowsItsCode) {
  fake.faults.Fail("power", "GetSystemPowerStatus", 0x15);
  EXPECT_EQ(CheckPowerSource(), -1);
  ASSERT_EQ(fake.messages.Boxes().size(), 1u);
  EXPECT_EQ(fake.messages.Boxes()[0].text, u"Unable to get power status (0x15).");
  EXPECT_EQ(Log(), u"GetSystemPowerStatus failed = 0x15\r\n");
}

TEST_F(PowerTest, RebootNeedsTheShutdownPrivilege) {
  fake.power.shutdownPrivilegeHeld = false;
  EXPECT_EQ(SystemReboot(), 0);
  EXPECT_TRUE(fake.power.restarts.empty());
  fake.power.shutdownPrivilegeHeld = true;
  EXPECT_EQ(SystemReboot(), 1);
  ASSERT_EQ(fake.power.restarts.size(), 1u);
  EXPECT_EQ(fake.power.restarts[0], (std::pair<os::UINT, os::DWORD>{6, 0x80010007u}));
  EXPECT_EQ(fake.power.privilegesLookedUp.back(), u"SeShutdownPrivilege");
  fake.faults.Fail("power", "OpenProcessToken", 5);
  EXPECT_EQ(SystemReboot(), 0);
  fake.faults.Fail("power", "ExitWindowsEx", 5);
  EXPECT_EQ(SystemReboot(), 0);
  EXPECT_EQ(fake.power.restarts.size(), 1u);
  EXPECT_TRUE(fake.messages.Boxes().empty());
  EXPECT_EQ(Log(), u"");
}

}  // namespace
}  // namespace app
