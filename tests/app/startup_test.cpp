// Start-up over the fake: the command line's split and its words, the
// three roads, the module folder, and each failure with its log line and
// message.
#include "app/startup/wizard_app.h"

#include <gtest/gtest.h>

#include "app/startup/command_line.h"
#include "base/log.h"
#include "base/settings.h"
#include "base/string_table.h"
#include "os/constants.h"
#include "os/fake/fake_system.h"
#include "tests/support/utf16.h"

namespace app {
namespace {

constexpr char16_t kHandOff[] = u"SYSTEM\\SOFTWARE\\Veltrax Corporation\\VLXFMUpdate";

TEST(SplitCommandLine, FollowsTheRunTimesRules) {
  struct Case {
    const char16_t* line;
    std::vector<std::u16string> arguments;
  } cases[] = {
      {u"", {u""}},
      {u"app.exe", {u"app.exe"}},
      {u"\"C:\\Program Files\\V\\app.exe\" done", {u"C:\\Program Files\\V\\app.exe", u"done"}},
      // The program name takes no escapes: its backslash before the quote stays.
      {u"\"C:\\dir\\\" next", {u"C:\\dir\\", u"next"}},
      {u"app.exe  \t a   b\t", {u"app.exe", u"a", u"b"}},
      {u"app.exe \"a b\" c", {u"app.exe", u"a b", u"c"}},
      {u"app.exe \"\"", {u"app.exe", u""}},
      {u"app.exe a\\b c\\\\", {u"app.exe", u"a\\b", u"c\\\\"}},
      {u"app.exe a\\\"b", {u"app.exe", u"a\"b"}},
      {u"app.exe a\\\\\"b c\"", {u"app.exe", u"a\\b c"}},
      {u"app.exe a\\\\\\\"b", {u"app.exe", u"a\\\"b"}},
      {u"app.exe \"a\"\"b\" c", {u"app.exe", u"a\"b", u"c"}},
      {u"app.exe \"open", {u"app.exe", u"open"}},
      {u"app.exe do\"ne\"", {u"app.exe", u"done"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitCommandLine(c.line), c.arguments) << testing::PrintToString(std::u16string(c.line));
  }
}

class Recorder final : public WizardRoad {
 public:
  void RunWizard(const std::u16string& title) override { titles.push_back(title); }
  std::vector<std::u16string> titles;
};

// A machine for one start-up: the fake with the program in C:\app.
class World {
 public:
  World() {
    fake.resources.SetStrings(&base::StringTable());
    fake.files.AddFolder(u"C:\\app");
    fake.files.SetModulePath(u"C:\\app\\VLXFMWizardApp.exe");
    fake.process.environment[u"TEMP"] = u"C:\\Temp";
    base::Settings() = base::AppSettings{};
  }
  ~World() { base::CloseLog(); }

  enum class Road { Done, Launch, Wizard, None };
  // Runs start-up and its end on `arguments`, and tells which road it took.
  Road Run(const std::u16string& arguments) {
    fake.process.commandLine = u"\"C:\\app\\VLXFMWizardApp.exe\" " + arguments;
    // A hand-off left by a native-mode update: only "done" removes it.
    fake.registry.SetValue(os::HkeyLocalMachine(), kHandOff, u"Drives", os::kRegDword,
                           {1, 0, 0, 0});
    CVLXFMWizardAppApp app(wizard);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(fake.sockets.Started(), 0);
    EXPECT_EQ(fake.ole.Initialized(), 0);
    EXPECT_EQ(fake.modules.Loaded(u"riched20"), 0);
    const bool cleaned = !fake.registry.KeyExists(os::HkeyLocalMachine(), kHandOff);
    const bool launched = !fake.process.Processes().empty();
    if (!wizard.titles.empty()) return cleaned || launched ? Road::None : Road::Wizard;
    if (cleaned) return launched ? Road::None : Road::Done;
    return launched ? Road::Launch : Road::None;
  }
  std::u16string Log() {
    base::CloseLog();
    return testing_support::Utf16Of(fake.files.Contents(u"C:\\app\\VLXFMUpdate.log"));
  }
  void ExpectOneBox(const char16_t* text) {
    const auto boxes = fake.messages.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(boxes[0].caption, u"Veltrax Drive Update Update Wizard");
    EXPECT_EQ(boxes[0].type, os::kMbOk | os::kMbIconExclamation);
  }

  os::fake::ScopedFakeSystem fake;
  Recorder wizard;
};

using Road = World::Road;

TEST(Startup, TheWordsChooseTheRoad) {
  struct Case {
    const char16_t* arguments;
    Road road;
  } cases[] = {
      {u"", Road::Wizard},
      {u"done", Road::Done},
      {u"/done", Road::Done},
      {u"-DONE", Road::Done},
      {u"DoNe", Road::Done},
      {u"//done", Road::Wizard},
      {u"-/done", Road::Wizard},
      {u"done2", Road::Wizard},
      {u"\"done\"", Road::Done},
      {u"launch", Road::Launch},
      {u"/Launch", Road::Launch},
      {u"done launch", Road::Done},
      {u"launch -done", Road::Done},
      {u"some other words", Road::Wizard},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(c.arguments)));
    World world;
    EXPECT_EQ(world.Run(c.arguments), c.road);
    EXPECT_TRUE(world.fake.messages.Boxes().empty());
  }
}

TEST(Startup, TheWizardRoadStartsTheLibrariesAndEndsThem) {
  World world;
  auto& fake = world.fake;
  auto& wizard = world.wizard;
  base::Settings().nativeMode = true;
  fake.process.commandLine = u"\"C:\\app\\VLXFMWizardApp.exe\"";
  CVLXFMWizardAppApp app(wizard);
  EXPECT_FALSE(app.InitInstance());
  EXPECT_EQ(wizard.titles, std::vector<std::u16string>{u"Veltrax Drive Update for vx7221 -v2"});
  EXPECT_FALSE(base::Settings().nativeMode);
  EXPECT_EQ(base::Settings().moduleFolder, u"C:\\app");
  EXPECT_EQ(fake.commonControls.Registered(), std::vector<os::DWORD>{0xFF});
  EXPECT_EQ(fake.sockets.Started(), 1);
  EXPECT_EQ(fake.ole.Initialized(), 1);
  EXPECT_EQ(fake.modules.Loaded(u"RICHED20.DLL"), 1);
  EXPECT_EQ(app.ExitInstance(), 0);
  EXPECT_EQ(fake.sockets.Started(), 0);
  EXPECT_EQ(fake.ole.Initialized(), 0);
  EXPECT_EQ(fake.modules.Loaded(u"riched20"), 0);
}

TEST(Startup, NeitherSocketsNorOleOnTheDoneAndLaunchRoads) {
  for (const char16_t* word : {u"done", u"launch"}) {
    World fresh;
    fresh.Run(word);
    EXPECT_EQ(fresh.fake.sockets.Starts(), 0) << testing::PrintToString(std::u16string(word));
    EXPECT_EQ(fresh.fake.ole.Initializations(), 0);
    EXPECT_TRUE(fresh.wizard.titles.empty());
    // The common controls are registered before the command line is read.
    EXPECT_EQ(fresh.fake.commonControls.Registered().size(), 1u);
  }
}

TEST(Startup, AProgramInADriveRootKeepsItsBackslash) {
  World world;
  world.fake.files.SetModulePath(u"C:\\VLXFMWizardApp.exe");
  EXPECT_EQ(world.Run(u""), Road::Wizard);
  EXPECT_EQ(base::Settings().moduleFolder, u"C:\\");
}

TEST(Startup, EachFailureHasItsLineAndMessage) {
  struct Case {
    const char* area;
    const char* call;
    os::DWORD code;
    int skip;  // the log's own calls pass
    const char16_t* logLine;  // empty: none
    const char16_t* message;
  } cases[] = {
      {"files", "GetModuleFileNameW", 5, 1, u"GetModuleFileName failed, GetLastError = 0x5",
       u"Application initialization failed."},
      {"files", "PathRemoveFileSpecW", 0x3ee, 1,
       u"PathRemoveFileSpec failed, GetLastError = 0x3ee", u"Application initialization failed."},
      {"sockets", "WSAStartup", 10091, 0, u"", u"Windows sockets initialization failed."},
      {"ole", "OleInitialize", 0x80004005u, 0, u"",
       u"OLE initialization failed.  Make sure that the OLE libraries are the correct version."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    World fresh;
    fresh.fake.faults.Fail(c.area, c.call, c.code, 1, c.skip);
    EXPECT_EQ(fresh.Run(u""), Road::None);
    fresh.ExpectOneBox(c.message);
    if (*c.logLine != u'\0') {
      EXPECT_NE(fresh.Log().find(c.logLine), std::u16string::npos);
    }
  }
}

// A path that fills the buffer was cut short: no folder is taken from it.
// The log, which lies in that folder, does not open either.
TEST(Startup, AModulePathThatFillsTheBufferFails) {
  World world;
  world.fake.files.SetModulePath(u"C:\\" + std::u16string(300, u'a') + u"\\VLXFMWizardApp.exe");
  EXPECT_EQ(world.Run(u""), Road::None);
  world.ExpectOneBox(u"Application initialization failed.");
  EXPECT_EQ(base::Settings().moduleFolder, u"");
}

}  // namespace
}  // namespace app
