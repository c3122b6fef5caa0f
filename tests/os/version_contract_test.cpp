#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

class VersionContract : public ContractTest {};

TEST_P(VersionContract, VersionNeedsTheStructureSize) {
  os::OsVersionInfo info{};
  info.dwOSVersionInfoSize = os::kOsVersionInfoSize;
  ASSERT_NE(sys().version.GetVersionExW(&info), os::kFalse);
  EXPECT_GE(info.dwMajorVersion, 5u);
  // Windows then reports ERROR_INSUFFICIENT_BUFFER; Wine 8 leaves the last
  // error as it was, so only the refusal is common ground.
  info.dwOSVersionInfoSize = 12;
  EXPECT_EQ(sys().version.GetVersionExW(&info), os::kFalse);
}

VX_CONTRACT_FOR_WHOLE_SYSTEMS(VersionContract);

}  // namespace
}  // namespace contract
