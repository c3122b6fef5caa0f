// Update runs over simulated machines: what the progress page is sent, in
// which order, and what the drives run afterwards.
#include "update/update_run.h"

#include "base/sha256.h"
#include "os/constants.h"
#include "tests/update/update_run_fixture.h"

namespace update {
namespace {

using test_support::Chosen;
using test_support::Recorder;
using test_support::UpdateRun;

using test_support::kBanner;

TEST_F(UpdateRun, NoDriveSelectedLoadsAndRemovesTheDriver) {
  LoadWithPackage(R"({"drives": []})");
  Recorder recorder;
  Run({}, recorder);
  EXPECT_EQ(recorder.Texts(), (std::vector<std::u16string>{kBanner, u"UPDATE DONE"}));
  EXPECT_EQ(recorder.statuses.back().kind, update::DoneText);
  EXPECT_FALSE(machine().services().Find(u"VLXFMDriver"));
  EXPECT_EQ(sim_->simulated().input().Calls(),
            (std::vector<os::BOOL>{os::kTrue, os::kFalse}));
}

TEST_F(UpdateRun, TheSecondDriveFailsAndTheThirdIsNeverAnnounced) {
  // Small segments with a pause after each: the 10 ms poller sees the bar
  // between 0 and 100.
  LoadWithPackage(R"({"driverSegmentDelayMs": 25, "drives": [
      {"number": 0, "serial": "VX3"},
      {"number": 1, "serial": "VX1", "transferMaxBlocks": 16},
      {"number": 2, "serial": "VX2", "faults": [{"on": "download", "status": 81, "error": 4}]}]})");
  const drives::DriveList drives = Enumerate();
  ASSERT_EQ(drives.size(), 3u);
  std::atomic<bool> blockedThroughout{true};
  Recorder recorder([&] {
    if (!sim_->simulated().input().Blocked()) blockedThroughout = false;
  });
  Run(drives, recorder);
  EXPECT_EQ(recorder.Texts(),
            (std::vector<std::u16string>{
                kBanner, Announce(u"VX7221-500G-A", u"VX1", 1, 3), u"Drive updated successfully",
                Announce(u"VX7221-500G-A", u"VX2", 2, 3), u"Driver call failed (0x45d)",
                u"UPDATE FAILED!!!"}));
  EXPECT_TRUE(blockedThroughout);
  EXPECT_FALSE(sim_->simulated().input().Blocked());
  EXPECT_EQ(machine().Drive(1)->device().firmware(), "02.01P03");
  EXPECT_EQ(machine().Drive(2)->device().firmware(), "02.01P02");
  EXPECT_EQ(machine().Drive(0)->device().firmware(), "02.01P02");
  EXPECT_TRUE(LogHas(u"Driver call \r\n\r\nError Info :\r\nFile      = DriverHelper\r\n"
                     u"Line      = 330\r\nFunction  = CDriverHelper::SendUpdateFirmwareIOCTL\r\n"
                     u"ErrorCode = 0x45d\r\n"));
  EXPECT_FALSE(machine().services().Find(u"VLXFMDriver"));

  // The bar: shown, rising, at 100 before it is hidden only on success.
  std::vector<std::vector<update::DriveUpdateStatus>> transfers;
  for (const auto& s : recorder.statuses) {
    if (s.kind == update::ProgressRange && s.rangeMax == 100) transfers.emplace_back();
    if (!transfers.empty()) transfers.back().push_back(s);
  }
  ASSERT_EQ(transfers.size(), 2u);
  for (std::size_t t = 0; t < 2; ++t) {
    const auto& statuses = transfers[t];
    int last = -1;
    bool between = false;
    for (const auto& s : statuses) {
      if (s.kind != update::ProgressPosition) continue;
      EXPECT_GE(s.percent, last);
      last = s.percent;
      between = between || (s.percent > 0 && s.percent < 100);
    }
    const auto hidden = std::find_if(statuses.begin() + 1, statuses.end(), [](const auto& s) {
      return s.kind == update::ProgressRange && s.rangeMax == 0;
    });
    ASSERT_NE(hidden, statuses.end());
    const auto& beforeHide = *(hidden - 1);
    if (t == 0) {
      EXPECT_TRUE(between);
      EXPECT_EQ(beforeHide.kind, update::ProgressPosition);
      EXPECT_EQ(beforeHide.percent, 100);
    } else {
      EXPECT_TRUE(beforeHide.kind != update::ProgressPosition || beforeHide.percent < 100);
    }
  }
}

TEST_F(UpdateRun, AfterwardsTheDrivesAreAlreadyUpdated) {
  LoadWithPackage(R"({"drives": [{"number": 0, "serial": "VXA"},
                                {"number": 1, "serial": "VXB", "busType": 7, "vscLevel": 5}]})");
  Recorder recorder;
  Run(Enumerate(), recorder);
  ASSERT_EQ(recorder.Texts().back(), u"UPDATE DONE");
  const drives::DriveList again = Enumerate();
  ASSERT_EQ(again.size(), 2u);
  for (const auto& d : again) {
    EXPECT_EQ(d->UpdateMessage, u"Drive already updated.\n");
    EXPECT_EQ(d->CurrentFirmwareText(), u"02.01P03");
  }
}

// No driver binary beside the program, and a machine without Windows' own
// firmware interface.
TEST_F(UpdateRun, WithNeitherRoadTheRunSaysWhyAndFailsAsALoadFailure) {
  Load(R"({"drives": [{"number": 0}]})");
  Recorder recorder;
  Run(Enumerate(), recorder);
  EXPECT_EQ(recorder.Texts(),
            (std::vector<std::u16string>{
                kBanner,
                u"Neither update road is available: the firmware driver is missing (0x2), and "
                u"drive VX7221-500G-A (VX00000001) has no Windows firmware interface (0x1).",
                u"Failed to load driver (0x2)"}));
  EXPECT_EQ(recorder.statuses.back().kind, update::ErrorText);
  EXPECT_TRUE(LogHas(u"Driver load failed\r\n\r\nError Info :\r\nFile      = DriverHelper\r\n"
                     u"Line      = 285\r\nFunction  = CDriverHelper::StartDriver\r\nErrorCode = 0x2"));
  EXPECT_FALSE(machine().services().Find(u"VLXFMDriver"));
  EXPECT_FALSE(sim_->simulated().input().Blocked());
}

// The image is checked before the driver is loaded: whatever is wrong with
// it, no drive is touched and no driver service is made.
TEST_F(UpdateRun, ADamagedImageStopsTheRunBeforeTheDriver) {
  const std::vector<std::uint8_t> whole = sim::BuildDemoImage();
  const base::Sha256::Digest digest = [&] {
    base::Sha256 sha;
    sha.Update(whole.data(), whole.size());
    return sha.Final();
  }();
  const auto ascii = [](const std::string& text) { return std::u16string(text.begin(), text.end()); };
  const std::u16string expected = u"expected " + ascii(std::to_string(whole.size())) +
                                  u" bytes, SHA-256 " + ascii(base::ToHex(digest));
  struct Case {
    const char* name;
    std::vector<std::uint8_t> image;
  } cases[] = {
      {"one byte changed", whole},
      {"cut short", std::vector<std::uint8_t>(whole.begin(), whole.end() - 512)},
      {"longer", whole},
  };
  cases[0].image[1000] ^= 0x01;
  cases[2].image.push_back(0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoadWithPackage(R"({"drives": [{"number": 0}]})");
    sim_->fake().files.PutFile(u"C:\\app\\vx7221.bin", c.image);
    const drives::DriveList drives = Enumerate();
    ASSERT_EQ(drives.size(), 1u);
    const std::size_t commands = Trace().size();
    Recorder recorder;
    Run(drives, recorder);
    EXPECT_EQ(recorder.Texts(),
              (std::vector<std::u16string>{
                  kBanner, u"Firmware file C:\\app\\vx7221.bin is damaged (" + expected + u")"}));
    EXPECT_EQ(recorder.statuses.back().kind, update::ErrorText);
    EXPECT_EQ(Trace().size(), commands);  // not one command to a drive or driver
    EXPECT_EQ(machine().services().Creations(), 0);
    EXPECT_EQ(machine().Drive(0)->device().firmware(), "02.01P02");
    EXPECT_FALSE(sim_->simulated().input().Blocked());
    EXPECT_TRUE(LogHas(u"Firmware file C:\\app\\vx7221.bin is damaged: " + expected +
                       u"; found " + ascii(std::to_string(c.image.size())) +
                       u" bytes, SHA-256 "));
  }
}

TEST_F(UpdateRun, AWholeImageIsCheckedAndGoesOn) {
  LoadWithPackage(R"({"drives": [{"number": 0}]})");
  Recorder recorder;
  Run(Enumerate(), recorder);
  EXPECT_EQ(recorder.Texts().back(), u"UPDATE DONE");
  EXPECT_EQ(machine().services().Creations(), 1);
  EXPECT_FALSE(LogHas(u"is damaged"));
}

// After the driver is gone, each updated drive is asked what it runs. One
// that activates its image only at the next power-on still answers with
// the old revision: the user is told to restart, and the run is done.
TEST_F(UpdateRun, EachUpdatedDriveIsAskedWhatItRunsNow) {
  LoadWithPackage(R"({"drives": [{"number": 0, "serial": "VXA"},
      {"number": 1, "serial": "VXB", "busType": 7, "vscLevel": 5, "activatesAtRestart": true}]})");
  const drives::DriveList drives = Enumerate();
  ASSERT_EQ(drives.size(), 2u);
  Recorder recorder;
  Run(drives, recorder);
  const auto texts = recorder.Texts();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[texts.size() - 2],
            u"Drive VXB reports firmware 02.01P02; restart the computer to finish the update.");
  EXPECT_EQ(texts.back(), u"UPDATE DONE");
  EXPECT_EQ(std::count(texts.begin(), texts.end(), u"Drive updated successfully"), 2);
  EXPECT_TRUE(LogHas(u"Drive VX7221-500G-A (VXA) firmware revision after update: 02.01P03 "
                     u"(expected 02.01P03)\r\n"));
  EXPECT_TRUE(LogHas(u"Drive VX7221-500G-A (VXB) firmware revision after update: 02.01P02 "
                     u"(expected 02.01P03)\r\n"));
  std::map<std::u16string, std::u16string> readBack;
  for (const auto& d : drives) readBack[d->DrivePath] = d->FirmwareRevisionAfterUpdate;
  EXPECT_EQ(readBack[u"\\\\.\\PhysicalDrive0"], u"02.01P03");
  EXPECT_EQ(readBack[u"\\\\.\\PhysicalDrive1"], u"02.01P02");

  machine().PowerCycle();
  for (const auto& d : Enumerate()) {
    EXPECT_EQ(d->CurrentFirmwareText(), u"02.01P03");
    EXPECT_EQ(d->UpdateMessage, u"Drive already updated.\n");
  }
}

TEST_F(UpdateRun, FileFailuresStopTheRun) {
  struct Case {
    const char* fault;  // null: the image is locked by another program
    std::u16string message;
    std::u16string logLine;
  } cases[] = {
      {nullptr, u"Drive update failed, can not open firmware file C:\\app\\vx7221.bin",
       u"Can not open firmware file C:\\app\\vx7221.bin (11)"},
      {"GetFileSizeEx",
       u"Drive update failed, can not get status of firmware file C:\\app\\vx7221.bin",
       u"Can not get firmware file status C:\\app\\vx7221.bin (0)"},
      {"ReadFile", u"Drive update failed, can not read firmware file C:\\app\\vx7221.bin",
       u"Drive update failed, can not read firmware file C:\\app\\vx7221.bin"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault ? c.fault : "locked");
    LoadWithPackage(R"({"drives": [{"number": 0}]})");
    const drives::DriveList drives = Enumerate();
    auto& fake = sim_->fake();
    os::FileHandle locker = os::InvalidHandleValue();
    if (c.fault != nullptr) {
      // The image check before the driver reads the file first; a read
      // that fails there is left to the transfer, which fails too.
      fake.faults.Fail("files", c.fault, 5, std::string(c.fault) == "ReadFile" ? 2 : 1);
    } else {
      locker = fake.files.CreateFileW(u"C:\\app\\vx7221.bin", os::kGenericWrite, 0, nullptr,
                                      os::kOpenExisting, 0, nullptr);
    }
    Recorder recorder;
    Run(drives, recorder);
    fake.faults.Clear();
    if (locker != os::InvalidHandleValue()) fake.files.CloseHandle(locker);
    const auto texts = recorder.Texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2], c.message);
    EXPECT_EQ(texts.back(), u"UPDATE FAILED!!!");
    EXPECT_TRUE(LogHas(c.logLine + u"\r\n")) << std::string(Log().begin(), Log().end());
    EXPECT_EQ(machine().Drive(0)->device().firmware(), "02.01P02");
  }
}

TEST_F(UpdateRun, ADriverThatNeverMovesBytesDoneShowsZeroUntilTheFinal100) {
  LoadWithPackage(R"({"drives": [{"number": 0}]})");
  const drives::DriveList drives = Enumerate();
  // The same drive record, over a driver that answers at once and writes
  // nothing into the record.
  os::fake::ScopedFakeSystem silent;
  silent.files.AddFolder(u"C:\\app");
  silent.files.PutFile(u"C:\\app\\vx7221.bin", sim::BuildDemoImage());
  silent.files.PutFile(u"C:\\app\\VLXFMDriver32.sys", {1});
  silent.devices.Add(u"\\\\.\\VLXFMDriver", std::make_shared<os::fake::ScriptedDevice>());
  Recorder recorder;
  Run(drives, recorder);
  std::vector<std::int32_t> positions;
  for (const auto& s : recorder.statuses) {
    if (s.kind == update::ProgressPosition) positions.push_back(s.percent);
  }
  ASSERT_GE(positions.size(), 2u);
  EXPECT_EQ(positions.back(), 100);
  positions.pop_back();
  EXPECT_EQ(positions, std::vector<std::int32_t>(positions.size(), 0));
  EXPECT_EQ(recorder.Texts().back(), u"UPDATE DONE");
}

}  // namespace
}  // namespace update
