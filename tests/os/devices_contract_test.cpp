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

}  // namespace
}  // namespace contract
