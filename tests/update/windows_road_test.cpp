// The update over Windows' own storage firmware interface: which road a run
// takes, what the drives are sent, and that the progress page cannot tell
// the roads apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "os/constants.h"
#include "sim/firmware_image.h"
#include "tests/update/update_run_fixture.h"

namespace update {
namespace {

using test_support::kBanner;
using test_support::Recorder;
using test_support::UpdateRun;

// Two qualifying drives on a machine whose stacks offer the interface.
constexpr char kTwoDrives[] = R"({"firmwareInterface": true, "driverSegmentDelayMs": 20,
  "drives": [
    {"number": 0, "serial": "VX10000001", "deferredDownload": true, "transferMaxBlocks": 32},
    {"number": 1, "serial": "VX10000002", "deferredDownload": true, "transferMaxBlocks": 16}]})";

constexpr char16_t kDone[] = u"UPDATE DONE";

std::vector<std::uint8_t> FromHex(const std::string& hex) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

std::uint64_t Field(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t width) {
  std::uint64_t v = 0;
  std::memcpy(&v, &b[at], width);
  return v;
}

// A download request of the trace: the drive it went to and its block.
struct Sent {
  int drive;
  std::vector<std::uint8_t> block;
};

class WindowsRoad : public UpdateRun {
 protected:
  std::vector<Sent> Requests(const std::string& code) {
    std::vector<Sent> sent;
    for (const std::string& line : Trace()) {
      if (line.find(" code=" + code + " ") == std::string::npos) continue;
      const auto in = line.find(" in=") + 4;
      sent.push_back({line[5] - '0', FromHex(line.substr(in, line.find(' ', in) - in))});
    }
    return sent;
  }
  std::string Firmware(int drive) { return machine().Drive(drive)->device().firmware(); }
  static std::vector<std::u16string> Updated(const char16_t* serial, int i, int n) {
    return {Announce(u"VX7221-500G-A", serial, i, n), u"Drive updated successfully"};
  }
};

TEST_F(WindowsRoad, TheRoadIsChosenOncePerRun) {
  struct Case {
    const char* name;
    std::string machine;
    bool withDriver;
    const char16_t* roadLine;
    std::vector<std::u16string> texts;
  } cases[] = {
      {"the driver when it starts", kTwoDrives, true, u"Update road: firmware driver", {}},
      {"Windows when the driver is missing", kTwoDrives, false,
       u"Update road: Windows storage firmware interface", {}},
      {"neither without the interface", R"({"drives": [{"number": 0, "serial": "VX10000001",
         "deferredDownload": true}]})",
       false, u"Update road: none.",
       {kBanner,
        u"Neither update road is available: the firmware driver is missing (0x2), and drive "
        u"VX7221-500G-A (VX10000001) has no Windows firmware interface (0x1).",
        u"Failed to load driver (0x2)"}},
      {"neither when one drive lacks deferred download", R"({"firmwareInterface": true,
         "drives": [{"number": 0, "serial": "VX10000001", "deferredDownload": true},
                    {"number": 1, "serial": "VX10000002"}]})",
       false, u"Update road: none.",
       {kBanner,
        u"Neither update road is available: the firmware driver is missing (0x2), and drive "
        u"VX7221-500G-A (VX10000002) does not take firmware through Windows (0x32).",
        u"Failed to load driver (0x2)"}},
      {"neither when the image is not a multiple of the alignment", R"({"firmwareInterface": true,
         "drives": [{"number": 0, "serial": "VX10000001", "deferredDownload": true,
                     "transferMinBlocks": 2}]})",
       false, u"Update road: none.",
       {kBanner,
        u"Neither update road is available: the firmware driver is missing (0x2), and the "
        u"image C:\\app\\vx7221.bin of 98816 bytes is not a multiple of the 1024-byte "
        u"alignment of drive VX7221-500G-A (VX10000001).",
        u"Failed to load driver (0x2)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadWithPackage(c.machine, c.withDriver);
    const drives::DriveList drives = Enumerate();
    Recorder recorder;
    Run(drives, recorder);
    EXPECT_TRUE(LogHas(c.roadLine));
    const bool updates = c.texts.empty();
    if (updates) {
      EXPECT_EQ(recorder.Texts().back(), kDone);
      EXPECT_EQ(Firmware(0), "02.01P03");
      EXPECT_EQ(Firmware(1), "02.01P03");
    } else {
      EXPECT_EQ(recorder.Texts(), c.texts);
      EXPECT_EQ(recorder.statuses.back().kind, ErrorText);
      EXPECT_EQ(Firmware(0), "02.01P02");
    }
    // The driver road never asks the drives' stacks; the others ask every drive.
    EXPECT_EQ(Requests("0x2D1C00").size(), c.withDriver ? 0u : drives.size());
    EXPECT_EQ(Requests("0x2DDC04").empty(), !updates || c.withDriver);
    EXPECT_FALSE(machine().services().Find(u"VLXFMDriver"));
    EXPECT_FALSE(sim_->simulated().input().Blocked());
  }
}

TEST_F(WindowsRoad, TheProgressPageSeesTheSameRunOnBothRoads) {
  std::vector<std::u16string> texts[2];
  for (const bool withDriver : {true, false}) {
    LoadWithPackage(kTwoDrives, withDriver);
    Recorder recorder;
    Run(Enumerate(), recorder);
    texts[withDriver] = recorder.Texts();
    // Each drive's bar rises from its range to 100.
    std::vector<std::int32_t> percents;
    std::int32_t last = 0;
    for (const auto& s : recorder.statuses) {
      if (s.kind == ProgressRange) last = 0;
      if (s.kind != ProgressPosition) continue;
      EXPECT_GE(s.percent, last);
      last = s.percent;
      percents.push_back(s.percent);
    }
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.back(), 100);
    // 20 ms after each segment: the 10 ms poller sees the bar in between.
    EXPECT_TRUE(std::any_of(percents.begin(), percents.end(),
                            [](std::int32_t p) { return p > 0 && p < 100; }));
  }
  std::vector<std::u16string> expected{kBanner};
  for (const auto& t : Updated(u"VX10000001", 1, 2)) expected.push_back(t);
  for (const auto& t : Updated(u"VX10000002", 2, 2)) expected.push_back(t);
  expected.push_back(kDone);
  EXPECT_EQ(texts[false], expected);
  EXPECT_EQ(texts[true], expected);
}

// Each drive its own alignment and largest segment; the image a multiple of
// both (96 blocks), so each drive gets segments of its own size.
TEST_F(WindowsRoad, EachDriveGetsSegmentsOfItsOwnAlignment) {
  LoadWithPackage(R"({"firmwareInterface": true, "drives": [
      {"number": 0, "serial": "VX10000001", "deferredDownload": true,
       "transferMinBlocks": 2, "transferMaxBlocks": 9},
      {"number": 1, "serial": "VX10000002", "deferredDownload": true,
       "transferMinBlocks": 3, "transferMaxBlocks": 10}]})",
                  false);
  sim::FirmwareImageHeader header;
  header.familyId = 666;
  header.configId = 2445;
  header.revisionBase = "02.01P02";
  header.revisionSuffix = ".30.3C.31P";
  header.firmwareRevision = "02.01P03";
  const auto image =
      sim::BuildFirmwareImage(header, std::vector<std::uint8_t>(96 * 512 - 64, 0x5A));
  ASSERT_EQ(image.size(), 96u * 512);
  sim_->fake().files.PutFile(u"C:\\app\\segmented.bin", image);
  const drives::DriveList drives = Enumerate();
  for (const auto& drive : drives) drive->AvailableFirmwareFilePath = u"C:\\app\\segmented.bin";
  Recorder recorder;
  Run(drives, recorder);
  ASSERT_EQ(recorder.Texts().back(), kDone);

  struct Expected {
    std::uint64_t segment;  // the largest multiple of the alignment within the maximum
    std::uint64_t segments;
  } expected[] = {{8 * 512, 12}, {9 * 512, 11}};
  const std::vector<Sent> sent = Requests("0x2DDC04");
  for (int drive = 0; drive < 2; ++drive) {
    SCOPED_TRACE(drive);
    std::uint64_t next = 0;
    std::uint64_t count = 0;
    for (const Sent& s : sent) {
      if (s.drive != drive) continue;
      const std::uint64_t offset = Field(s.block, 16, 8);
      const std::uint64_t size = Field(s.block, 24, 8);
      const std::uint32_t flags = static_cast<std::uint32_t>(Field(s.block, 8, 4));
      EXPECT_EQ(Field(s.block, 0, 4), 40u);
      EXPECT_EQ(Field(s.block, 4, 4), 32 + size);
      EXPECT_EQ(offset, next);
      EXPECT_EQ(size, std::min(expected[drive].segment, image.size() - offset));
      EXPECT_EQ((flags & 0x4) != 0, offset == 0);
      EXPECT_EQ((flags & 0x2) != 0, offset + size == image.size());
      EXPECT_TRUE(std::equal(s.block.begin() + 32, s.block.end(), image.begin() + offset));
      next += size;
      ++count;
    }
    EXPECT_EQ(next, image.size());
    EXPECT_EQ(count, expected[drive].segments);
    EXPECT_EQ(Firmware(drive), "02.01P03");
  }
  EXPECT_EQ(Requests("0x2DDC08").size(), 2u);
}

TEST_F(WindowsRoad, ARefusedSegmentOrActivationFailsTheRun) {
  struct Case {
    const char* name;
    const char* fault;
    sim::StagedImage staged;  // what the failing drive keeps
  } cases[] = {
      {"a segment mid-way", R"({"on": "firmware-download", "ioctlError": 1117, "skip": 2})",
       sim::StagedImage::Partial},
      {"the drive aborts a segment", R"({"on": "firmware-download", "status": 81, "error": 4, "skip": 1})",
       sim::StagedImage::Partial},
      {"the activation", R"({"on": "firmware-activate", "status": 81, "error": 4})",
       sim::StagedImage::Saved},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadWithPackage(std::string(R"({"firmwareInterface": true, "drives": [
        {"number": 0, "serial": "VX10000001", "deferredDownload": true,
         "transferMaxBlocks": 16, "faults": [)") +
                        c.fault + R"(]},
        {"number": 1, "serial": "VX10000002", "deferredDownload": true}]})",
                    false);
    const drives::DriveList drives = Enumerate();
    const int handlesBefore = machine().OpenHandles();
    Recorder recorder;
    Run(drives, recorder);
    EXPECT_EQ(recorder.Texts(),
              (std::vector<std::u16string>{
                  kBanner, Announce(u"VX7221-500G-A", u"VX10000001", 1, 2),
                  u"Driver call failed (0x45d)", u"UPDATE FAILED!!!"}));
    EXPECT_EQ(Firmware(0), "02.01P02");
    EXPECT_EQ(Firmware(1), "02.01P02");
    EXPECT_EQ(machine().Drive(0)->device().staged(), c.staged);
    EXPECT_FALSE(LogHas(u"firmware revision after update"));
    EXPECT_TRUE(LogHas(u"Function  = StorageFirmwareChannel::Transfer"));
    EXPECT_EQ(machine().OpenHandles(), handlesBefore);
  }
}

}  // namespace
}  // namespace update
