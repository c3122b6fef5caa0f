#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

using DevicesContract = ContractTest;

TEST_F(DevicesContract, AMissingDriveDoesNotOpen) {
  const os::HANDLE h = sys().devices.CreateFileW(
      u"\\\\.\\PhysicalDrive15", os::kGenericRead | os::kGenericWrite,
      os::kFileShareRead | os::kFileShareWrite, nullptr, os::kOpenExisting, 0,
      nullptr);
  EXPECT_EQ(h, os::InvalidHandleValue());
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorFileNotFound);
}

TEST_F(DevicesContract, ADuplicateIsAHandleOfItsOwn) {
  auto& devices = sys().devices;
  const os::HANDLE drive = devices.CreateFileW(
      u"\\\\.\\PhysicalDrive0", os::kGenericRead | os::kGenericWrite,
      os::kFileShareRead | os::kFileShareWrite, nullptr, os::kOpenExisting, 0, nullptr);
  ASSERT_NE(drive, os::InvalidHandleValue());
  os::HANDLE copy = os::InvalidHandleValue();
  ASSERT_NE(devices.DuplicateHandle(devices.GetCurrentProcess(), drive,
                                    devices.GetCurrentProcess(), &copy, 0, os::kFalse,
                                    os::kDuplicateSameAccess),
            os::kFalse);
  EXPECT_NE(copy, drive);
  EXPECT_NE(devices.CloseHandle(drive), os::kFalse);
  EXPECT_NE(devices.CloseHandle(copy), os::kFalse);
  EXPECT_EQ(devices.CloseHandle(copy), os::kFalse);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorInvalidHandle);
}

}  // namespace
}  // namespace contract
