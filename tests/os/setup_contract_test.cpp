// SetupAPI: the fake against Wine, which lists no hard disk controllers.
#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

class SetupContract : public ContractTest {};

TEST_P(SetupContract, AnEmptyClassEndsItsEnumerationAtOnce) {
  constexpr os::Guid kHdc = {0x4D36E96A, 0xE325, 0x11CE,
                             {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
  auto& setup = sys().setup;
  const os::HDEVINFO set = setup.SetupDiGetClassDevsW(&kHdc, nullptr, nullptr, os::kDigcfPresent);
  ASSERT_NE(set, os::InvalidHandleValue());
  os::DevInfoData device{};
  device.cbSize = sizeof device;
  EXPECT_EQ(setup.SetupDiEnumDeviceInfo(set, 0, &device), os::kFalse);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorNoMoreItems);
  EXPECT_NE(setup.SetupDiDestroyDeviceInfoList(set), os::kFalse);
}

VX_CONTRACT_FOR_WHOLE_SYSTEMS(SetupContract);

}  // namespace
}  // namespace contract
