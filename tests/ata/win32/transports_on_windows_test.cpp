// The transports against the real DeviceIoControl. Wine opens
// \\.\PhysicalDrive0 but answers neither pass-through (50 and 5 were seen
// there); real Windows would reach the drive.
#include <gtest/gtest.h>

#include "ata/ata_pass_through_drive.h"
#include "ata/exception.h"
#include "ata/sat_pass_through_drive.h"
#include "os/constants.h"
#include "os/win32/win32_system.h"

namespace tessel {
namespace {

class TransportsOnWindows : public testing::Test {
 protected:
  TransportsOnWindows() : guard_(win32_.system()) {}
  os::DeviceHandle OpenDrive0() {
    return win32_.devices.CreateFileW(
        u"\\\\.\\PhysicalDrive0", os::kGenericRead | os::kGenericWrite,
        os::kFileShareRead | os::kFileShareWrite, nullptr, os::kOpenExisting,
        0, nullptr);
  }

  template <class Drive>
  void ExpectSystemError(const char* message) {
    const os::DeviceHandle handle = OpenDrive0();
    ASSERT_NE(handle, os::InvalidHandleValue());
    Drive drive(handle);
    std::uint8_t buffer[512];
    try {
      drive.IdentifyDevice(buffer, sizeof buffer);
      GTEST_SKIP() << "this machine's drive 0 answered IDENTIFY";
    } catch (const Exception& e) {
      EXPECT_EQ(e.code(), ErrorSystem);
      EXPECT_EQ(e.message(), message);
      EXPECT_NE(e.detail(), 0);
      RecordProperty("error", e.detail());
    }
  }

  os::win32::Win32System win32_;
  os::ScopedSystem guard_;
};

TEST_F(TransportsOnWindows, AtaPassThroughReportsTheSystemsRefusal) {
  ExpectSystemError<AtaDriveWinPassThrough>("DeviceIoControl returned FALSE");
}

TEST_F(TransportsOnWindows, SatPassThroughReportsTheSystemsRefusal) {
  ExpectSystemError<SatDrivePassThrough>("Call to DeviceIoControl() failed");
}

}  // namespace
}  // namespace tessel
