#include "app/relocation.h"

#include <gtest/gtest.h>

#include "base/log.h"
#include "base/string_table.h"
#include "os/constants.h"
#include "os/fake/fake_system.h"
#include "tests/support/utf16.h"

namespace app {
namespace {

constexpr char16_t kD[] = u"C:\\Users\\A User\\Temp\\VLXFMUpdate\\2.1.0.0";

class Relocation : public testing::Test {
 protected:
  Relocation() {
    fake.resources.SetStrings(&base::StringTable());
    fake.files.AddFolder(u"E:\\package");
    fake.files.SetModulePath(u"E:\\package\\VLXFMWizardApp.exe");
    fake.process.environment[u"TEMP"] = u"C:\\Users\\A User\\Temp";
    base::OpenLog(nullptr);
  }
  ~Relocation() override { base::CloseLog(); }
  std::vector<std::u16string> Commands() {
    std::vector<std::u16string> lines;
    for (const auto& p : fake.process.Processes()) lines.push_back(p.commandLine);
    return lines;
  }
  std::u16string Log() {
    const auto bytes = fake.files.Contents(u"E:\\package\\VLXFMUpdate.log");
    return testing_support::Utf16Of(bytes);
  }
  void ExpectFailureBox() {
    ASSERT_EQ(fake.messages.Boxes().size(), 1u);
    EXPECT_EQ(fake.messages.Boxes()[0].text, u"Application initialization failed.");
    EXPECT_EQ(fake.messages.Boxes()[0].caption, u"Veltrax Drive Update Update Wizard");
    EXPECT_EQ(fake.messages.Boxes()[0].type, os::kMbOk);
  }
  os::fake::ScopedFakeSystem fake;
};

TEST_F(Relocation, TheSixCommandLinesByteForByte) {
  PrepareAndLaunchWizard();
  const std::u16string d(kD);
  EXPECT_EQ(Commands(), (std::vector<std::u16string>{
                            u"cmd.exe /C rmdir /S /Q \"" + d + u"\\\"",
                            u"cmd.exe /C mkdir \"" + d + u"\\\"",
                            u"cmd.exe /C copy /Y /V *.* \"" + d + u"\\\"",
                            u"cmd.exe /C del \"" + d + u"\\*.log\" /Q",
                            u"cmd.exe /C del \"" + d + u"\\*.vbs\" /Q",
                            u"\"" + d + u"\\VLXFMWizardApp.exe\"",
                        }));
  const auto started = fake.process.Processes();
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(started[i].showWindow, os::kSwHide);
    EXPECT_EQ(started[i].currentDirectory, u"");
    EXPECT_EQ(started[i].startupSize, 68u);
    EXPECT_EQ(started[i].startupFlags, os::kStartfUseShowWindow);
  }
  EXPECT_EQ(started[5].showWindow, os::kSwShowNormal);
  EXPECT_EQ(started[5].currentDirectory, d + u"\\");
  EXPECT_EQ(fake.process.OpenProcesses(), 0);
  EXPECT_TRUE(fake.messages.Boxes().empty());
  EXPECT_EQ(Log(), u"");
}

TEST_F(Relocation, TmpServesWhenTempIsEmpty) {
  fake.process.environment[u"TEMP"] = u"";
  fake.process.environment[u"Tmp"] = u"D:\\tmp\\";
  PrepareAndLaunchWizard();
  EXPECT_EQ(Commands()[1], u"cmd.exe /C mkdir \"D:\\tmp\\\\VLXFMUpdate\\2.1.0.0\\\"");
}

TEST_F(Relocation, FailuresAndTheirLogLines) {
  struct Case {
    const char* what;
    std::vector<std::int64_t> outcomes;  // negative: the process is not created
    const char16_t* log;
    std::size_t started;
  } cases[] = {
      {"rmdir cannot run", {-2}, u"rmdir /S /Q failed!!!\r\nmkdir failed!!!\r\n"
                                 u"PrepareAndLaunchWizard failed!!!\r\n", 1},
      {"mkdir cannot run", {0, -2}, u"mkdir failed!!!\r\nPrepareAndLaunchWizard failed!!!\r\n", 2},
      {"copy cannot run", {0, 0, -2}, u"PrepareAndLaunchWizard failed!!!\r\n", 3},
      {"copy fails", {0, 0, 1}, u"copy /Y /V *.* failed!!!\r\nPrepareAndLaunchWizard failed!!!\r\n",
       3},
      {"del *.vbs fails", {0, 0, 0, 1, 1},
       u"del *.vbs failed!!!\r\nPrepareAndLaunchWizard failed!!!\r\n", 5},
      {"the copy cannot start", {2, 0, 0, 0, 0, -2},
       u"RunApplication failed!!!\r\nPrepareAndLaunchWizard failed!!!\r\n", 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    base::CloseLog();  // the fixture's, over the other fake
    os::fake::ScopedFakeSystem local;
    local.resources.SetStrings(&base::StringTable());
    local.files.AddFolder(u"E:\\package");
    local.files.SetModulePath(u"E:\\package\\VLXFMWizardApp.exe");
    local.process.environment[u"Temp"] = u"C:\\Temp";
    local.process.exitCodes.assign(c.outcomes.begin(), c.outcomes.end());
    base::OpenLog(nullptr);
    PrepareAndLaunchWizard();
    base::CloseLog();
    const auto bytes = local.files.Contents(u"E:\\package\\VLXFMUpdate.log");
    EXPECT_EQ(testing_support::Utf16Of(bytes), c.log);
    EXPECT_EQ(local.process.Processes().size(), c.started);
    ASSERT_EQ(local.messages.Boxes().size(), 1u);
    EXPECT_EQ(local.messages.Boxes()[0].text, u"Application initialization failed.");
  }
}

TEST_F(Relocation, NoTemporaryDirectoryAtAll) {
  fake.process.environment.clear();
  PrepareAndLaunchWizard();
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(Log(), u"Unable to get temp folder path!!!\r\nPrepareAndLaunchWizard failed!!!\r\n");
  ExpectFailureBox();
}

}  // namespace
}  // namespace app
