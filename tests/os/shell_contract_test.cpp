// Power, the system directory and SetupAPI: the fake against Wine. Wine
// reports mains power and lists no hard disk controllers.
#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

using ShellContract = ContractTest;

TEST_F(ShellContract, PowerStatusAndSystemDirectory) {
  os::SystemPowerStatus status{};
  ASSERT_NE(sys().power.GetSystemPowerStatus(&status), os::kFalse);
  EXPECT_EQ(status.ACLineStatus, 1);
  char16_t buffer[os::kMaxPath] = {};
  const os::UINT length = sys().power.GetSystemDirectoryW(buffer, os::kMaxPath);
  ASSERT_GT(length, 3u);
  EXPECT_EQ(std::u16string(buffer).size(), length);
  EXPECT_NE(buffer[length - 1], u'\\');
  EXPECT_GT(sys().power.GetSystemDirectoryW(buffer, 2), 2u);  // the size it needs
}

TEST_F(ShellContract, AnEmptyClassEndsItsEnumerationAtOnce) {
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

}  // namespace
}  // namespace contract
