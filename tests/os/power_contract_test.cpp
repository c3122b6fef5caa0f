// The power source: the fake against Wine, which reports mains power.
#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

class PowerContract : public ContractTest {};

TEST_P(PowerContract, PowerStatusIsMains) {
  os::SystemPowerStatus status{};
  ASSERT_NE(sys().power.GetSystemPowerStatus(&status), os::kFalse);
  EXPECT_EQ(status.ACLineStatus, 1);
}

VX_CONTRACT_FOR_WHOLE_SYSTEMS(PowerContract);

}  // namespace
}  // namespace contract
