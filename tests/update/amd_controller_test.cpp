#include "update/amd_controller.h"

#include <gtest/gtest.h>

#include "base/log.h"
#include "os/constants.h"
#include "os/fake/fake_system.h"
#include "update/native_app_helper.h"

namespace update {
namespace {

constexpr os::Guid kHdc = {0x4D36E96A, 0xE325, 0x11CE,
                           {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
constexpr os::Guid kOther = {0x4D36E967, 0xE325, 0x11CE,
                             {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

std::u16string KeyOf(const std::u16string& service) {
  return u"SYSTEM\\CurrentControlSet\\Services\\" + service + u"\\Parameters\\Device";
}

std::vector<std::uint8_t> Dword(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

TEST(AmdController, TheFirstControllerWithAmdInItsServiceName) {
  os::fake::ScopedFakeSystem fake;
  fake.setup.AddDevice(kOther, u"amdgpu");
  fake.setup.AddDevice(kHdc, u"storahci");
  fake.setup.AddDevice(kHdc, u"");  // no readable service name
  fake.setup.AddDevice(kHdc, u"AMD_SATA");
  fake.setup.AddDevice(kHdc, u"amdxata");
  EXPECT_EQ(update::FindAmdStorageController(), std::optional<std::u16string>(u"amd_sata"));
  EXPECT_EQ(fake.setup.OpenLists(), 0);
}

TEST(AmdController, NoneFoundWhenTheEnumerationFails) {
  os::fake::ScopedFakeSystem fake;
  fake.setup.AddDevice(kHdc, u"amdsata");
  fake.faults.Fail("setup", "SetupDiGetClassDevsW", 13);
  EXPECT_EQ(update::FindAmdStorageController(), std::nullopt);
  EXPECT_EQ(update::FindAmdStorageController(), std::optional<std::u16string>(u"amdsata"));
}

TEST(AmdController, OnlyADwordOfOneCountsAsOn) {
  os::fake::ScopedFakeSystem fake;
  auto& reg = fake.registry;
  const auto hklm = os::HkeyLocalMachine();
  reg.SetValue(hklm, KeyOf(u"amd_sata"), u"AmdSataShafran", os::kRegDword, Dword(1));
  reg.SetValue(hklm, KeyOf(u"amdsata"), u"AmdSataShafran", os::kRegDword, Dword(2));
  reg.SetValue(hklm, KeyOf(u"amdxata"), u"AmdSataShafran", os::kRegSz, {'1', 0, 0, 0});
  EXPECT_TRUE(update::IsAmdSataFeatureEnabled(u"amd_sata"));
  EXPECT_FALSE(update::IsAmdSataFeatureEnabled(u"amdsata"));
  EXPECT_FALSE(update::IsAmdSataFeatureEnabled(u"amdxata"));
  EXPECT_FALSE(update::IsAmdSataFeatureEnabled(u"amdmissing"));
  EXPECT_EQ(reg.OpenKeys(), 0);
}

TEST(AmdController, TheValueIsWrittenUnderTheTwoKnownServicesThatExist) {
  os::fake::ScopedFakeSystem fake;
  auto& reg = fake.registry;
  const auto hklm = os::HkeyLocalMachine();
  reg.SetValue(hklm, KeyOf(u"amdsata"), u"Other", os::kRegDword, Dword(5));
  reg.SetValue(hklm, KeyOf(u"amdxata"), u"Other", os::kRegDword, Dword(5));
  const auto result = update::CNativeAppHelper().AddAMDDriverRegistryValues();
  EXPECT_TRUE(base::IsSuccess(result));
  EXPECT_EQ(result->line, 487);
  EXPECT_EQ(result->file, u"NativeAppHelper");
  EXPECT_EQ(result->function, u"CNativeAppHelper::AddAMDDriverRegistryValues");
  EXPECT_FALSE(reg.KeyExists(hklm, KeyOf(u"amd_sata")));
  EXPECT_TRUE(update::IsAmdSataFeatureEnabled(u"amdsata"));
  EXPECT_FALSE(update::IsAmdSataFeatureEnabled(u"amdxata"));
  EXPECT_EQ(reg.OpenKeys(), 0);

  os::fake::ScopedFakeSystem bare;
  EXPECT_TRUE(base::IsSuccess(CNativeAppHelper().AddAMDDriverRegistryValues()));
  EXPECT_FALSE(bare.registry.KeyExists(os::HkeyLocalMachine(), KeyOf(u"amdsata")));
}

}  // namespace
}  // namespace update
