// The registry: the fake's tree against Wine's registry, under a key of
// the current user that the test makes and removes.
#include <cstring>

#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

class RegistryContract : public ContractTest {};

constexpr char16_t kTestKey[] = u"Software\\VxRegistryContract";

TEST_P(RegistryContract, KeysAndTypedValues) {
  auto& reg = sys().registry;
  reg.RegDeleteTreeW(os::HkeyCurrentUser(), kTestKey);
  os::HKEY missing = nullptr;
  EXPECT_EQ(reg.RegOpenKeyExW(os::HkeyCurrentUser(), kTestKey, 0, os::kKeyRead, &missing),
            static_cast<os::LSTATUS>(os::kErrorFileNotFound));

  os::HKEY key = nullptr;
  os::DWORD disposition = 0;
  ASSERT_EQ(reg.RegCreateKeyExW(os::HkeyCurrentUser(), (std::u16string(kTestKey) + u"\\Device").c_str(),
                                0, nullptr, 0, os::kKeyAllAccess, nullptr, &key, &disposition),
            0);
  EXPECT_EQ(disposition, os::kRegCreatedNewKey);
  const std::uint8_t one[4] = {1, 0, 0, 0};
  EXPECT_EQ(reg.RegSetValueExW(key, u"AmdSataShafran", 0, os::kRegDword, one, 4), 0);
  EXPECT_EQ(reg.RegCloseKey(key), 0);

  ASSERT_EQ(reg.RegOpenKeyExW(os::HkeyCurrentUser(),
                              (std::u16string(kTestKey) + u"\\DEVICE").c_str(), 0,
                              os::kKeyRead | os::kKeyWrite, &key),
            0);
  os::DWORD type = 0;
  std::uint8_t data[4] = {};
  os::DWORD size = 4;
  EXPECT_EQ(reg.RegQueryValueExW(key, u"amdsatashafran", nullptr, &type, data, &size), 0);
  EXPECT_EQ(type, os::kRegDword);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(data[0], 1);
  size = 2;
  EXPECT_EQ(reg.RegQueryValueExW(key, u"AmdSataShafran", nullptr, &type, data, &size),
            static_cast<os::LSTATUS>(os::kErrorMoreData));
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(reg.RegQueryValueExW(key, u"NoSuchValue", nullptr, &type, data, &size),
            static_cast<os::LSTATUS>(os::kErrorFileNotFound));
  EXPECT_EQ(reg.RegCloseKey(key), 0);

  EXPECT_EQ(reg.RegDeleteTreeW(os::HkeyCurrentUser(), kTestKey), 0);
  EXPECT_EQ(reg.RegOpenKeyExW(os::HkeyCurrentUser(), kTestKey, 0, os::kKeyRead, &missing),
            static_cast<os::LSTATUS>(os::kErrorFileNotFound));
}

VX_CONTRACT_FOR_WHOLE_SYSTEMS(RegistryContract);

}  // namespace
}  // namespace contract
