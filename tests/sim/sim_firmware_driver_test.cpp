// The firmware driver stand-in on its own: a record in, DOWNLOAD MICROCODE
// segments out, bytesDone live in the caller's record.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "os/constants.h"
#include "os/ioctl.h"
#include "sim/firmware_image.h"
#include "tests/sim/sim_fixture.h"

namespace sim {
namespace {

using test_support::DriveEntry;
using test_support::MachineWith;
using test_support::SimSystem;

// A record as the update thread lays it out: header fields at their
// offsets, the image from 1395.
std::vector<std::uint8_t> Record(const std::u16string& drivePath,
                                 std::uint32_t transferMax,
                                 const std::vector<std::uint8_t>& image) {
  std::vector<std::uint8_t> r(1395 + image.size(), 0);
  r[0] = 11;
  std::memcpy(&r[4], &transferMax, 4);
  std::memcpy(&r[8], "VX10000001", 10);
  std::memcpy(&r[29], "02.01P02", 8);
  for (std::size_t i = 0; i < drivePath.size(); ++i) {
    r[38 + 2 * i] = drivePath[i] & 0xFF;
    r[39 + 2 * i] = drivePath[i] >> 8;
  }
  const auto length = static_cast<std::uint32_t>(image.size());
  std::memcpy(&r[1390], &length, 4);
  std::copy(image.begin(), image.end(), r.begin() + 1395);
  return r;
}

class DriverStandIn : public ::testing::Test {
 protected:
  DriverStandIn() : sim(Machine()) { sim.machine().SetFirmwareDriverRunning(true); }
  static MachineDescription Machine() {
    MachineDescription m = MachineWith({DriveEntry(2, os::kBusTypeSata)});
    m.driverSegmentDelayMs = 3;
    return m;
  }
  os::BOOL Send(std::vector<std::uint8_t>& record) {
    const os::DeviceHandle h = sim.machine().CreateFileW(u"\\\\.\\VLXFMDriver", 0xC0000000u, 0,
                                                   nullptr, 3, 0, nullptr);
    EXPECT_NE(h, os::InvalidHandleValue());
    os::DWORD returned = 0;
    const os::BOOL ok = sim.machine().DeviceIoControl(
        h, os::kIoctlUpdateFirmware, record.data(), static_cast<os::DWORD>(record.size()),
        record.data() + 1062, 256, &returned, nullptr);
    error = sim.fake().errors.GetLastError();
    sim.machine().CloseHandle(h);
    return ok;
  }
  AtaDevice& drive() { return sim.machine().Drive(2)->device(); }

  SimSystem sim;
  os::DWORD error = 0;
};

TEST_F(DriverStandIn, SendsTheImageInSegmentsAndReportsProgressLive) {
  const auto image = BuildDemoImage();
  auto record = Record(u"\\\\.\\PhysicalDrive2", 64 * 512, image);
  std::atomic<bool> done{false};
  std::vector<std::uint32_t> samples;
  std::thread poller([&] {
    while (!done.load()) {
      std::uint32_t bytes = 0;
      std::memcpy(&bytes, record.data() + 1062, 4);
      samples.push_back(bytes);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  const os::BOOL ok = Send(record);
  done.store(true);
  poller.join();
  ASSERT_TRUE(ok) << error;
  std::uint32_t last = 0;
  std::memcpy(&last, record.data() + 1062, 4);
  EXPECT_EQ(last, image.size());
  // Some samples fell between the first and the last segment, rising.
  std::size_t between = 0;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    EXPECT_GE(samples[i], samples[i - 1]);
    between += samples[i] > 0 && samples[i] < image.size();
  }
  EXPECT_GT(between, 0u);
  EXPECT_EQ(drive().revisionSet(), "02.01P02 .30.3C.31P");
  EXPECT_EQ(drive().firmware(), "02.01P03");
}

TEST_F(DriverStandIn, ADamagedImageFailsAndTheDriveKeepsItsRevision) {
  auto image = BuildDemoImage();
  image[image.size() / 2] ^= 0x5A;
  auto record = Record(u"\\\\.\\PhysicalDrive2", 64 * 512, image);
  EXPECT_FALSE(Send(record));
  EXPECT_EQ(error, os::kErrorIoDevice);
  EXPECT_EQ(drive().revisionSet(), "02.01P02 .18.3C.19P");
  EXPECT_EQ(drive().firmware(), "02.01P02");
}

// An image shorter than its header says leaves the drive expecting more
// after the last segment: the call fails and nothing is activated.
TEST_F(DriverStandIn, AnImageCutShortFailsInsteadOfSucceeding) {
  auto image = BuildDemoImage();
  image.resize(8 * 512);
  auto record = Record(u"\\\\.\\PhysicalDrive2", 64 * 512, image);
  EXPECT_FALSE(Send(record));
  EXPECT_EQ(error, os::kErrorIoDevice);
  EXPECT_EQ(drive().firmware(), "02.01P02");
}

// A drive without segmented download gets the whole image in one command.
TEST(DriverWholeImage, ATransferMaxOfZeroSendsTheImageAtOnce) {
  DriveDescription unsegmented;
  unsegmented.segmented = false;
  SimSystem sim(MachineWith({DriveEntry(2, os::kBusTypeSata, unsegmented)}));
  sim.machine().SetFirmwareDriverRunning(true);
  const auto image = BuildDemoImage();
  auto record = Record(u"\\\\.\\PhysicalDrive2", 0, image);
  const os::DeviceHandle h =
      sim.machine().CreateFileW(u"\\\\.\\VLXFMDriver", 0xC0000000u, 0, nullptr, 3, 0, nullptr);
  os::DWORD returned = 0;
  EXPECT_TRUE(sim.machine().DeviceIoControl(h, os::kIoctlUpdateFirmware, record.data(),
                                            static_cast<os::DWORD>(record.size()),
                                            record.data() + 1062, 256, &returned, nullptr))
      << sim.fake().errors.GetLastError();
  sim.machine().CloseHandle(h);
  std::uint32_t done = 0;
  std::memcpy(&done, record.data() + 1062, 4);
  EXPECT_EQ(done, image.size());
  EXPECT_EQ(sim.machine().Drive(2)->device().firmware(), "02.01P03");
}

TEST_F(DriverStandIn, RefusesRecordsItCannotTrust) {
  const auto image = BuildDemoImage();
  struct Case {
    const char* what;
    std::vector<std::uint8_t> record;
    os::DWORD error;
  };
  std::vector<Case> cases;
  cases.push_back({"empty image", Record(u"\\\\.\\PhysicalDrive2", 512, {}),
                   os::kErrorInvalidParameter});
  auto longer = Record(u"\\\\.\\PhysicalDrive2", 512, image);
  const std::uint32_t tooLong = static_cast<std::uint32_t>(image.size() + 1);
  std::memcpy(&longer[1390], &tooLong, 4);
  cases.push_back({"length past the input", longer, os::kErrorInvalidParameter});
  auto unterminated = Record(u"\\\\.\\PhysicalDrive2", 512, image);
  std::memset(&unterminated[8], 'S', 21);
  cases.push_back({"serial without NUL", unterminated, os::kErrorInvalidParameter});
  cases.push_back({"no such drive", Record(u"\\\\.\\PhysicalDrive7", 512, image),
                   os::kErrorFileNotFound});
  cases.push_back({"odd transfer size", Record(u"\\\\.\\PhysicalDrive2", 700, image),
                   os::kErrorInvalidParameter});
  for (auto& c : cases) {
    EXPECT_FALSE(Send(c.record)) << c.what;
    EXPECT_EQ(error, c.error) << c.what;
  }
  EXPECT_EQ(drive().firmware(), "02.01P02");
}

TEST(DriverDevice, OpensOnlyWhileTheDriverRuns) {
  SimSystem sim(MachineWith({}));
  EXPECT_EQ(sim.machine().CreateFileW(u"\\\\.\\VLXFMDriver", 0, 0, nullptr, 3, 0, nullptr),
            os::InvalidHandleValue());
  EXPECT_EQ(sim.fake().errors.GetLastError(), os::kErrorFileNotFound);
  sim.machine().SetFirmwareDriverRunning(true);
  const os::DeviceHandle h =
      sim.machine().CreateFileW(u"\\\\.\\vlxfmdriver", 0, 0, nullptr, 3, 0, nullptr);
  EXPECT_NE(h, os::InvalidHandleValue());
  sim.machine().CloseHandle(h);
}

}  // namespace
}  // namespace sim
