// A fault at every command: the default machine is enumerated and updated
// once per command index k, with the k-th command failing (the call, the
// drive's ATA status, the SCSI status, in turn), on the driver road and on
// the Windows road. Every run must end with
// no handle open, no drive in vendor mode, no drive called updated that
// does not run the new firmware, and the outcome the failure calls for.
#include <fstream>
#include <map>
#include <string>

#include "base/text.h"
#include "os/ioctl.h"
#include "sim/machine_description.h"
#include "tests/update/update_run_fixture.h"

namespace update {
namespace {

using sim::InjectedFault;
using test_support::Recorder;
using test_support::UpdateRun;

constexpr char16_t kUpdated[] = u"Drive updated successfully";

// The threads of this process now, as the kernel counts them.
int ThreadCount() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("Threads:", 0) == 0) return std::stoi(line.substr(8));
  }
  return -1;
}

std::string SweptMachine() {
  // The same commands without the pause after each segment.
  std::string json = sim::DefaultMachineJson();
  const std::string delay = R"("driverSegmentDelayMs": 15)";
  json.replace(json.find(delay), delay.size(), R"("driverSegmentDelayMs": 0)");
  return json;
}

// The parameter: whether the firmware driver's binary sits beside the
// program (the driver road) or not (the Windows road).
class FaultSweep : public UpdateRun, public ::testing::WithParamInterface<bool> {
 protected:
  struct Outcome {
    bool struck = false;
    bool struckInEnumeration = false;
    int struckDrive = 0;
    std::uint32_t struckCode = 0;
    std::map<std::u16string, std::u16string> listed;  // path: verdict
    std::vector<std::u16string> texts;
  };

  Outcome RunOnce(std::uint64_t k, InjectedFault kind) {
    const int threads = ThreadCount();
    LoadWithPackage(SweptMachine(), GetParam());
    sim_->fake().process.SetInstantSleeps(true);
    sim::CommandFaults& faults = machine().commandFaults();
    faults.Arm(k, kind);
    Outcome outcome;
    Recorder recorder;
    {
      // The drive records hold their handles until they go.
      const drives::DriveList drives = Enumerate();
      outcome.struckInEnumeration = faults.Struck();
      drives::DriveList chosen;
      for (const auto& d : drives) {
        outcome.listed[d->DrivePath] = d->UpdateMessage;
        if (d->Updatable) chosen.push_back(d);
      }
      Run(chosen, recorder);
    }
    outcome.struck = faults.Struck();
    outcome.struckDrive = faults.StruckTarget();
    outcome.struckCode = faults.StruckCode();
    outcome.texts = recorder.Texts();
    ExpectNothingLeftBehind();
    EXPECT_EQ(ThreadCount(), threads);
    ExpectOnlyWholeImagesReportedUpdated(outcome.texts);
    return outcome;
  }

  void ExpectNothingLeftBehind() {
    for (const auto& entry : machine().description().drives) {
      EXPECT_FALSE(machine().Drive(entry.number)->device().vendorModeOn()) << entry.number;
    }
    EXPECT_EQ(machine().OpenHandles(), 0);
    EXPECT_EQ(machine().OpenLinks(), 0);
    EXPECT_EQ(machine().services().OpenHandles(), 0);
    EXPECT_FALSE(machine().services().Find(u"VLXFMDriver"));
    EXPECT_EQ(sim_->simulated().registry().OpenKeys(), 0);
    EXPECT_EQ(sim_->fake().process.OpenProcesses(), 0);
    EXPECT_FALSE(sim_->simulated().input().Blocked());
    // The log is the one file meant to stay open while the program runs.
    base::CloseLog();
    EXPECT_EQ(sim_->fake().files.OpenHandles(), 0u);
  }

  // Each "Updating drive M (S), ..." announcement that is followed by the
  // success text names a drive that now runs the new firmware.
  void ExpectOnlyWholeImagesReportedUpdated(const std::vector<std::u16string>& texts) {
    for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
      if (texts[i + 1] != kUpdated) continue;
      const auto open = texts[i].find(u'(');
      const auto close = texts[i].find(u')', open);
      ASSERT_NE(close, std::u16string::npos) << base::Narrow(texts[i]);
      const std::string serial = base::Narrow(texts[i].substr(open + 1, close - open - 1));
      for (const auto& entry : machine().description().drives) {
        if (entry.drive.serial != serial) continue;
        EXPECT_EQ(machine().Drive(entry.number)->device().firmware(), "02.01P03") << serial;
      }
    }
  }

  std::u16string PathOf(int drive) {
    return u"\\\\.\\PhysicalDrive" + base::Widen(std::to_string(drive));
  }
};

TEST_P(FaultSweep, EveryCommandFailsOnceInTurn) {
  const Outcome clean = RunOnce(0, InjectedFault::None);
  ASSERT_EQ(clean.texts.back(), u"UPDATE DONE");
  for (const InjectedFault kind :
       {InjectedFault::IoctlFailure, InjectedFault::AtaError, InjectedFault::BadScsiStatus}) {
    for (std::uint64_t k = 1;; ++k) {
      SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)) + ", command " +
                   std::to_string(k));
      const Outcome run = RunOnce(k, kind);
      if (!run.struck) break;
      const bool transfer = run.struckDrive == sim::CommandFaults::kDriver ||
                            run.struckCode == os::kIoctlStorageFirmwareDownload ||
                            run.struckCode == os::kIoctlStorageFirmwareActivate;
      if (!run.struckInEnumeration && run.struckCode == os::kIoctlStorageFirmwareGetInfo) {
        // The Windows road's question: refused, there is no road; an ATA
        // error has no command to strike behind it.
        EXPECT_EQ(run.texts.back(), kind == InjectedFault::AtaError
                                        ? std::u16string(u"UPDATE DONE")
                                        : std::u16string(u"Failed to load driver (0x2)"));
        continue;
      }
      if (!run.struckInEnumeration && !transfer) {
        // The read-back after the update: a failed question leaves the
        // answer unknown (and the user told to restart), never wrong; the
        // update is done either way.
        EXPECT_EQ(run.texts.back(), u"UPDATE DONE");
        for (const auto& text : run.texts) {
          if (text.find(u" reports firmware ") == std::u16string::npos) continue;
          EXPECT_NE(text.find(u" reports firmware unknown; restart the computer"),
                    std::u16string::npos)
              << base::Narrow(text);
        }
        continue;
      }
      if (!run.struckInEnumeration) {
        // A transfer failed: the run says so and stops.
        ASSERT_GE(run.texts.size(), 2u);
        EXPECT_EQ(run.texts.back(), u"UPDATE FAILED!!!");
        EXPECT_EQ(run.texts[run.texts.size() - 2].rfind(u"Driver call failed (0x", 0), 0u)
            << base::Narrow(run.texts[run.texts.size() - 2]);
        continue;
      }
      // The failing drive is dropped, with its block in the log, or the
      // failure was one the enumeration rides out; every other drive is
      // judged as on a clean run, and the update of those chosen succeeds.
      const std::u16string path = PathOf(run.struckDrive);
      for (const auto& [listedPath, verdict] : clean.listed) {
        if (listedPath == path) continue;
        ASSERT_TRUE(run.listed.count(listedPath)) << base::Narrow(listedPath);
        EXPECT_EQ(run.listed.at(listedPath), verdict) << base::Narrow(listedPath);
      }
      if (!run.listed.count(path) && clean.listed.count(path)) {
        EXPECT_TRUE(LogHas(path)) << base::Narrow(path);
      }
      EXPECT_EQ(run.texts.back(), u"UPDATE DONE");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Roads, FaultSweep, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Driver" : "Windows";
                         });

}  // namespace
}  // namespace update
