// Whole wizard runs over simulated machines: the drive page's tree and
// details, the update on the progress page to its end, a failing drive and
// the way back, the AMD controller question, and a machine with nothing to
// update. Each page is saved as a PNG.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "app/ui/resource.h"
#include "base/settings.h"
#include "sim/machine_description.h"
#include "tests/gui/wizard_run.h"
#include "update/amd_controller.h"

namespace gui_test {
namespace {

constexpr wchar_t kBanner[] = L"** SYSTEM MAY APPEAR UNRESPONSIVE **";

// The default machine, slowed so that the bar is seen between 0 and 100.
std::string SlowDefaultMachine() {
  std::string json = sim::DefaultMachineJson();
  const std::string delay = R"("driverSegmentDelayMs": 15)";
  json.replace(json.find(delay), delay.size(), R"("driverSegmentDelayMs": 400)");
  return json;
}

// From the license page to the drive page.
void ToDrivePage(WizardDriver& d) {
  ASSERT_TRUE(d.OnPageWith(IDC_AGREE));
  d.Click(IDC_AGREE);
  ASSERT_TRUE(d.ButtonsAre(false, true));
  d.Press(kNext);
  ASSERT_TRUE(d.OnPageWith(IDC_DRIVE_TREE));
}

// From the drive page through the warning page to the progress page.
void ToProgressPage(WizardDriver& d) {
  ASSERT_TRUE(d.AnyTicked(IDC_DRIVE_TREE));
  ASSERT_TRUE(d.ButtonsAre(true, true));
  d.Press(kNext);
  ASSERT_TRUE(d.OnPageWith(IDC_UPDATE));
  d.Click(IDC_UPDATE);
  ASSERT_TRUE(d.ButtonsAre(true, true));
  d.Press(kNext);
  ASSERT_TRUE(d.OnPageWith(IDC_LOG));
}

// VLXFMUpdate.log beside the test program, UTF-16LE.
std::wstring LogBesideTheProgram() {
  wchar_t module[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring path(module);
  path = path.substr(0, path.find_last_of(L'\\') + 1) + L"VLXFMUpdate.log";
  std::ifstream in(path.c_str(), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::wstring text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                 static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  return text;
}

std::size_t Count(const std::wstring& text, const std::wstring& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

const WizardDriver::TreeItem* Find(const std::vector<WizardDriver::TreeItem>& items,
                                   const std::wstring& text) {
  const auto it = std::find_if(items.begin(), items.end(),
                               [&](const auto& item) { return item.text == text; });
  return it == items.end() ? nullptr : &*it;
}

TEST(UpdateGui, TheDefaultMachineIsUpdatedFromTheLicenseToFinish) {
  WizardRun run(SlowDefaultMachine());
  run.Run([](WizardDriver& d) {
    ToDrivePage(d);
    // The qualifying drives come up ticked and bold, once the page has
    // handled what it posted to itself; Next follows.
    const auto ticked = [&d](const wchar_t* text) {
      const auto items = d.TreeItems(IDC_DRIVE_TREE);
      const auto* item = Find(items, text);
      return item != nullptr && item->checkBox == 2;
    };
    ASSERT_TRUE(WaitFor([&] { return ticked(L"Drive 0: VX7221-500G-A") && ticked(L"Drive 1: VX7221-1T0-U"); }));
    ASSERT_TRUE(d.ButtonsAre(true, true));
    const auto items = d.TreeItems(IDC_DRIVE_TREE);
    std::vector<std::wstring> texts;
    for (const auto& item : items) texts.push_back(item.text);
    EXPECT_EQ(texts, (std::vector<std::wstring>{
                         L"ATA/SATA", L"Drive 0: VX7221-500G-A", L"Drive 2: VX7221-500G-A",
                         L"Drive 3: VX6110-250G-B", L"Drive 5: VX7221-500G-A", L"USB",
                         L"Drive 1: VX7221-1T0-U", L"ATA/SATA", L"Drive 4: OTHERDISK 2000"}));
    for (const auto& item : items) {
      const bool qualifies = item.text == L"Drive 0: VX7221-500G-A" ||
                             item.text == L"Drive 1: VX7221-1T0-U";
      EXPECT_EQ(item.checkBox, qualifies ? 2 : 0) << std::string(item.text.begin(), item.text.end());
      EXPECT_EQ(item.bold, qualifies);
      if (item.group) {
        EXPECT_EQ(static_cast<std::uint32_t>(item.value), 0xFFFFFFFFu);
      }
    }
    // The groups are set up in ascending order of bus type: the SATA
    // drive is selected last, and its details show.
    EXPECT_EQ(d.Text(IDC_MODEL), L"VX7221-500G-A");
    EXPECT_EQ(d.Text(IDC_MESSAGE), L"This drive qualifies for the update.");
    EXPECT_TRUE(d.Screenshot(L"drives"));
    // A group: N/A three times and the request to select.
    d.SelectTreeItem(IDC_DRIVE_TREE, items[0].handle);
    EXPECT_TRUE(WaitFor([&] { return d.Text(IDC_MODEL) == L"N/A"; }));
    EXPECT_EQ(d.Text(IDC_SERIAL), L"N/A");
    EXPECT_EQ(d.Text(IDC_FIRMWARE), L"N/A");
    EXPECT_EQ(d.Text(IDC_MESSAGE), L"Please select the drive(s) to upgrade.");
    // Unticking both disables Next; ticking one again enables it.
    for (const wchar_t* drive : {L"Drive 0: VX7221-500G-A", L"Drive 1: VX7221-1T0-U"}) {
      d.SelectTreeItem(IDC_DRIVE_TREE, Find(items, drive)->handle);
      d.SpaceOnTree(IDC_DRIVE_TREE);
      EXPECT_TRUE(WaitFor([&] { return Find(d.TreeItems(IDC_DRIVE_TREE), drive)->checkBox == 1; }));
    }
    EXPECT_TRUE(d.ButtonsAre(true, false));
    for (const wchar_t* drive : {L"Drive 0: VX7221-500G-A", L"Drive 1: VX7221-1T0-U"}) {
      d.SelectTreeItem(IDC_DRIVE_TREE, Find(items, drive)->handle);
      d.SpaceOnTree(IDC_DRIVE_TREE);
      EXPECT_TRUE(d.ButtonsAre(true, true));
    }

    ToProgressPage(d);
    // While the update runs: no buttons, Cancel disabled, Close refused.
    EXPECT_TRUE(d.ButtonsAre(false, false, false));
    d.SysCommand(SC_CLOSE);
    EXPECT_TRUE(WaitFor([&] {
      const int at = d.ProgressPosition(IDC_PROGRESS);
      return d.Visible(IDC_PROGRESS) && at > 0 && at < 100;
    }, 20000));
    EXPECT_TRUE(d.Screenshot(L"progress"));
    EXPECT_NE(d.Sheet(), nullptr) << "the Close command waits for the update";
    EXPECT_TRUE(WaitFor([&] { return d.Text(IDC_LOG).find(L"UPDATE DONE") != std::wstring::npos; },
                        60000));
    const std::wstring log = d.Text(IDC_LOG);
    EXPECT_NE(log.find(kBanner), std::wstring::npos);
    EXPECT_NE(log.find(L"Updating drive VX7221-500G-A (VX10000001), 1 of 2"), std::wstring::npos);
    EXPECT_NE(log.find(L"Updating drive VX7221-1T0-U (VX10000002), 2 of 2"), std::wstring::npos);
    EXPECT_EQ(Count(log, L"Drive updated successfully"), 2u);
    EXPECT_EQ(d.ProgressPosition(IDC_PROGRESS), 100);
    // Finish only; Cancel stays disabled.
    EXPECT_TRUE(WaitFor([&] {
      return ::IsWindowEnabled(::GetDlgItem(d.Sheet(), kFinish)) &&
             ::IsWindowVisible(::GetDlgItem(d.Sheet(), kFinish));
    }));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d.Sheet(), kCancel)));
    EXPECT_TRUE(d.Screenshot(L"done"));
    d.Press(kFinish);
    EXPECT_TRUE(d.SheetGone());
  });
  EXPECT_EQ(run.simulated().machine().Drive(0)->device().firmware(), "02.01P03");
  EXPECT_EQ(run.simulated().machine().Drive(1)->device().firmware(), "02.01P03");
  // The log beside the program holds the whole run, and the road taken.
  const std::wstring log = LogBesideTheProgram();
  EXPECT_NE(log.find(L"Update road: Windows storage firmware interface"), std::wstring::npos);
  EXPECT_NE(log.find(L"Drive VX7221-1T0-U (VX10000002) firmware revision after update: 02.01P03"),
            std::wstring::npos);
}

TEST(UpdateGui, AFailedDriveLeadsBackAndAgain) {
  WizardRun run(R"({"firmwareInterface": true, "drives": [
      {"number": 0, "serial": "VX10000001", "deferredDownload": true},
      {"number": 1, "serial": "VX10000002", "deferredDownload": true,
       "faults": [{"on": "firmware-download", "ioctlError": 1117}]}]})");
  run.Run([](WizardDriver& d) {
    ToDrivePage(d);
    ToProgressPage(d);
    EXPECT_TRUE(WaitFor([&] { return d.Text(IDC_LOG).find(L"UPDATE FAILED") != std::wstring::npos; },
                        60000));
    const std::wstring log = d.Text(IDC_LOG);
    EXPECT_NE(log.find(L"ERROR => Driver call failed (0x45d)"), std::wstring::npos);
    EXPECT_TRUE(d.ButtonsAre(true, false, true));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(d.Sheet(), kFinish)) &&
                 ::IsWindowEnabled(::GetDlgItem(d.Sheet(), kFinish)));
    EXPECT_TRUE(d.Screenshot(L"failed"));
    d.Press(kBack);
    ASSERT_TRUE(d.OnPageWith(IDC_UPDATE));
    EXPECT_TRUE(d.Checked(IDC_NO_UPDATE));
    EXPECT_TRUE(d.ButtonsAre(true, false));
    d.Click(IDC_UPDATE);
    ASSERT_TRUE(d.ButtonsAre(true, true));
    d.Press(kNext);
    ASSERT_TRUE(d.OnPageWith(IDC_LOG));
    EXPECT_TRUE(WaitFor([&] { return d.Text(IDC_LOG).find(L"UPDATE FAILED") != std::wstring::npos; },
                        60000));
    EXPECT_EQ(Count(d.Text(IDC_LOG), L"ERROR =>"), 2u) << "a new run in a cleared box";
    EXPECT_EQ(Count(d.Text(IDC_LOG), kBanner), 1u);
    d.SysCommand(SC_CLOSE);
    EXPECT_TRUE(d.SheetGone()) << "after the end the Close command closes";
  });
}

TEST(UpdateGui, AnAmdControllerWithoutItsFeatureAsksAndRestarts) {
  WizardRun run(R"({"controllers": ["amdsata"], "drives": [{"number": 0}]})");
  run.Run([&run](WizardDriver& d) {
    ToDrivePage(d);
    ASSERT_TRUE(d.AnyTicked(IDC_DRIVE_TREE));
    ASSERT_TRUE(d.ButtonsAre(true, true));
    d.Press(kNext);
    EXPECT_EQ(d.MessageBoxText().rfind(L"Update wizard must enable some HDD driver features", 0), 0u);
    EXPECT_EQ(d.MessageBoxButtons(), static_cast<UINT>(MB_YESNO));
    d.Answer(IDNO);
    EXPECT_TRUE(d.OnPageWith(IDC_DRIVE_TREE));
    EXPECT_TRUE(run.simulated().power().Restarts().empty());
    d.Press(kNext);
    EXPECT_FALSE(d.MessageBoxText().empty());
    d.Answer(IDYES);
    EXPECT_EQ(d.MessageBoxText().rfind(L"Please save all your work and close all applications.", 0),
              0u);
    d.Answer(IDOK);
    EXPECT_TRUE(WaitFor([&] { return !run.simulated().power().Restarts().empty(); }));
    EXPECT_TRUE(d.OnPageWith(IDC_DRIVE_TREE)) << "the page stays while the machine restarts";
    EXPECT_TRUE(base::Settings().closeAllowed);
  });
  const os::ScopedSystem guard(run.simulated().system());
  EXPECT_TRUE(update::IsAmdSataFeatureEnabled(u"amdsata"));
}

TEST(UpdateGui, NothingToUpdateLeavesOnlyBack) {
  WizardRun run(R"({"drives": [{"number": 0, "firmware": "02.01P03",
                                "revisionSet": "02.01P02 .30.3C.31P"}]})");
  run.Run([](WizardDriver& d) {
    ToDrivePage(d);
    // The group's box goes once the page has handled its posted message.
    ASSERT_TRUE(WaitFor([&d] {
      const auto items = d.TreeItems(IDC_DRIVE_TREE);
      return items.size() == 2 && items[0].checkBox == 0;
    }));
    EXPECT_TRUE(d.ButtonsAre(true, false));
    const auto items = d.TreeItems(IDC_DRIVE_TREE);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].checkBox, 0);
    EXPECT_FALSE(items[1].bold);
    EXPECT_TRUE(d.Screenshot(L"nothing_to_update"));
  });
}

}  // namespace
}  // namespace gui_test
