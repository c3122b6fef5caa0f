// The wizard as a user meets it, over the simulated machine: the title,
// the license page, F1, the Close command, the backup warning page on
// mains and on battery, and the native road's first question. Each page
// is saved as a PNG.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "app/ui/resource.h"
#include "base/settings.h"
#include "tests/gui/wizard_run.h"

namespace gui_test {
namespace {

constexpr wchar_t kTitle[] = L"Veltrax Drive Update for vx7221 -v2 (simulated)";
constexpr UINT kKeyF1 = 0x004D;  // WM_KEYF1, which the SDK leaves undeclared

// From the license page over the drive page, whose qualifying drives come
// up ticked, to the warning page.
void ToWarningPage(WizardDriver& d) {
  ASSERT_TRUE(d.OnPageWith(IDC_AGREE));
  d.Click(IDC_AGREE);
  ASSERT_TRUE(d.ButtonsAre(false, true));
  d.Press(kNext);
  ASSERT_TRUE(d.OnPageWith(IDC_DRIVE_TREE));
  ASSERT_TRUE(d.AnyTicked(IDC_DRIVE_TREE));
  ASSERT_TRUE(d.ButtonsAre(true, true));
  d.Press(kNext);
  ASSERT_TRUE(d.OnPageWith(IDC_UPDATE));
}

// WM_HELP arrivals on the wizard's thread.
std::atomic<int> helpRequests{0};
LRESULT CALLBACK CountHelp(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == WM_HELP) {
    ++helpRequests;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(WizardGui, TheLicensePageLetsTheUserOnOnlyAfterAgreeing) {
  WizardRun run;
  run.Run([](WizardDriver& d) {
    ASSERT_NE(d.Sheet(), nullptr);
    ASSERT_TRUE(d.OnPageWith(IDC_AGREE));
    EXPECT_EQ(d.Title(), kTitle);
    EXPECT_FALSE(d.HasSystemMenu());
    // First visit: only Cancel, "I do not agree" chosen and focused.
    EXPECT_TRUE(d.ButtonsAre(false, false));
    EXPECT_TRUE(d.Checked(IDC_DISAGREE));
    EXPECT_FALSE(d.Checked(IDC_AGREE));
    EXPECT_TRUE(d.Focused(IDC_DISAGREE));
    EXPECT_TRUE(d.Screenshot(L"license"));
    d.Click(IDC_AGREE);
    EXPECT_TRUE(d.ButtonsAre(false, true));
    d.Click(IDC_DISAGREE);
    EXPECT_TRUE(d.ButtonsAre(false, false));
    d.Click(IDC_AGREE);
    EXPECT_TRUE(d.ButtonsAre(false, true));
    d.Press(kNext);
    ASSERT_TRUE(d.OnPageWith(IDC_DRIVE_TREE));
    EXPECT_EQ(d.Title(), kTitle);
    // Back, once the drive page has set its buttons (a user cannot be
    // quicker than the page's own posted messages): agreed, focused, Next
    // and no Back.
    ASSERT_TRUE(d.AnyTicked(IDC_DRIVE_TREE));
    ASSERT_TRUE(d.ButtonsAre(true, true));
    d.Press(kBack);
    ASSERT_TRUE(d.OnPageWith(IDC_AGREE));
    EXPECT_TRUE(d.ButtonsAre(false, true));
    EXPECT_TRUE(d.Checked(IDC_AGREE));
    EXPECT_TRUE(d.Focused(IDC_AGREE));
    d.Press(kCancel);
    EXPECT_TRUE(d.SheetGone());
  });
}

TEST(WizardGui, F1NeverReachesAPage) {
  WizardRun run;
  run.Run([](WizardDriver& d) {
    ASSERT_TRUE(d.OnPageWith(IDC_AGREE));
    const DWORD uiThread = ::GetWindowThreadProcessId(d.Sheet(), nullptr);
    const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, CountHelp, nullptr, uiThread);
    ASSERT_NE(hook, nullptr);
    helpRequests = 0;
    d.Key(VK_F1);
    d.Click(IDC_AGREE);
    EXPECT_TRUE(d.ButtonsAre(false, true));  // the keys have been handled by now
    EXPECT_EQ(helpRequests.load(), 0);
    // The hook does see help when it is asked for past the loop.
    ::SendMessageW(d.Sheet(), kKeyF1, 0, 0);
    EXPECT_GT(helpRequests.load(), 0);
    ::UnhookWindowsHookEx(hook);
    EXPECT_TRUE(d.OnPageWith(IDC_AGREE));
  });
}

TEST(WizardGui, TheCloseCommandWaitsForCloseAllowed) {
  WizardRun run;
  run.Run([](WizardDriver& d) {
    ASSERT_TRUE(d.OnPageWith(IDC_AGREE));
    base::Settings().closeAllowed = false;
    d.SysCommand(SC_CLOSE);
    ::Sleep(300);
    EXPECT_TRUE(d.OnPageWith(IDC_AGREE)) << "refused while an update must not be cut short";
    base::Settings().closeAllowed = true;
    d.SysCommand(SC_CLOSE);
    EXPECT_TRUE(d.SheetGone());
  });
}

TEST(WizardGui, TheWarningPageAlwaysComesUpWithDoNotUpdate) {
  WizardRun run;
  run.Run([](WizardDriver& d) {
    ToWarningPage(d);
    EXPECT_EQ(d.Title(), kTitle);
    EXPECT_TRUE(d.ButtonsAre(true, false));
    EXPECT_TRUE(d.Checked(IDC_NO_UPDATE));
    EXPECT_TRUE(d.Focused(IDC_NO_UPDATE));
    EXPECT_TRUE(d.Screenshot(L"warning"));
    d.Click(IDC_UPDATE);
    EXPECT_TRUE(d.ButtonsAre(true, true));
    d.Press(kBack);
    ASSERT_TRUE(d.OnPageWith(IDC_DRIVE_TREE));
    ASSERT_TRUE(d.AnyTicked(IDC_DRIVE_TREE));
    ASSERT_TRUE(d.ButtonsAre(true, true));
    d.Press(kNext);
    ASSERT_TRUE(d.OnPageWith(IDC_UPDATE));
    EXPECT_TRUE(d.ButtonsAre(true, false));
    EXPECT_TRUE(d.Checked(IDC_NO_UPDATE));
    EXPECT_FALSE(d.Checked(IDC_UPDATE));
  });
}

TEST(WizardGui, OnBatteryNextAsksForMainsPowerAndStays) {
  WizardRun run(R"({"power": {"acLineStatus": 0}, "drives": [{"number": 0}]})");
  run.Run([](WizardDriver& d) {
    ToWarningPage(d);
    d.Click(IDC_UPDATE);
    ASSERT_TRUE(d.ButtonsAre(true, true));
    d.Press(kNext);
    EXPECT_EQ(d.MessageBoxText(), L"Please plug in the AC power and continue.");
    EXPECT_EQ(d.MessageBoxButtons(), static_cast<UINT>(MB_OK));
    d.Answer(IDOK);
    EXPECT_TRUE(d.OnPageWith(IDC_UPDATE));
    EXPECT_TRUE(d.ButtonsAre(true, true));
  });
}

// The native road, reached by setting its flag before the sheet is built:
// No to the restart question changes nothing.
TEST(WizardGui, TheNativeRoadsNoWritesNothing) {
  WizardRun run(R"({"drives": [{"number": 0}]})");
  base::Settings().nativeMode = true;
  run.Run(
      [](WizardDriver& d) {
        ToWarningPage(d);
        d.Click(IDC_UPDATE);
        ASSERT_TRUE(d.ButtonsAre(true, true));
        d.Press(kNext);
        const std::wstring question = d.MessageBoxText();
        EXPECT_EQ(question.rfind(L"Your system will restart and update will start on next boot.", 0),
                  0u);
        EXPECT_EQ(d.MessageBoxButtons(), static_cast<UINT>(MB_YESNO));
        d.Answer(IDNO);
        EXPECT_TRUE(d.OnPageWith(IDC_UPDATE));
      },
      WizardRun::Start::SheetOnly);
  base::Settings().nativeMode = false;
  EXPECT_FALSE(run.simulated().registry().KeyExists(os::HkeyLocalMachine(),
                                                    u"SYSTEM\\SOFTWARE\\Veltrax Corporation"));
  EXPECT_FALSE(run.simulated().registry().KeyExists(
      os::HkeyCurrentUser(), u"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"));
  EXPECT_TRUE(run.simulated().power().Restarts().empty());
}

}  // namespace
}  // namespace gui_test
