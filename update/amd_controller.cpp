#include "update/amd_controller.h"

#include <cstring>

#include "base/format.h"
#include "base/log.h"
#include "os/ascii_case.h"
#include "os/constants.h"
#include "os/scoped_handle.h"
#include "os/system.h"
#include "update/native_app_helper.h"

namespace update {

namespace {

constexpr char16_t kFeatureValue[] = u"AmdSataShafran";
// What the result of AddAMDDriverRegistryValues names as its place.
constexpr std::int32_t kAddValuesEntrySite = 487;
constexpr char16_t kFeatureKey[] = u"SYSTEM\\CurrentControlSet\\Services\\%s\\Parameters\\Device";
constexpr os::DWORD kKeyReadWrite = os::kKeyRead | os::kKeyWrite;
constexpr os::DWORD kServiceNameBytes = 520;

os::UniqueRegistryKey OpenFeatureKey(const std::u16string& service) {
  const std::u16string path = base::FormatLoaded(kFeatureKey, service);
  os::HKEY key = nullptr;
  if (os::Sys().registry.RegOpenKeyExW(os::HkeyLocalMachine(), path.c_str(), 0, kKeyReadWrite,
                                       &key) != os::kErrorSuccess) {
    return os::UniqueRegistryKey();
  }
  return os::UniqueRegistryKey(key);
}

}  // namespace

std::optional<std::u16string> FindAmdStorageController() {
  auto& setup = os::Sys().setup;
  os::UniqueDeviceInfoSet devices(
      setup.SetupDiGetClassDevsW(&os::kGuidDevClassHdc, nullptr, nullptr, os::kDigcfPresent));
  if (!devices.IsValid()) {
    if (base::IsLogOpen()) {
      base::WriteLogLine(u"SetupDiGetClassDevs = 0x%x", os::Sys().errors.GetLastError());
    }
    return std::nullopt;
  }
  for (os::DWORD index = 0;; ++index) {
    os::DevInfoData device{};
    device.cbSize = sizeof device;
    if (!setup.SetupDiEnumDeviceInfo(devices.Get(), index, &device)) return std::nullopt;
    std::uint8_t name[kServiceNameBytes + 2] = {};
    os::DWORD type = 0;
    if (!setup.SetupDiGetDeviceRegistryPropertyW(devices.Get(), &device, os::kSpdrpService,
                                                 &type, name, kServiceNameBytes, nullptr)) {
      if (base::IsLogOpen()) {
        base::WriteLogLine(u"SetupDiGetDeviceRegistryProperty = 0x%x",
                          os::Sys().errors.GetLastError());
      }
      continue;
    }
    // The two bytes past the buffer stay zero: the name always ends.
    std::u16string service;
    for (std::size_t i = 0; i + 1 < sizeof name; i += 2) {
      const char16_t unit = static_cast<char16_t>(name[i] | name[i + 1] << 8);
      if (unit == u'\0') break;
      service += unit;
    }
    service = os::AsciiLower(service);
    if (service.find(u"amd") != std::u16string::npos) return service;
  }
}

bool IsAmdSataFeatureEnabled(const std::u16string& service) {
  const os::UniqueRegistryKey key = OpenFeatureKey(service);
  if (!key.IsValid()) return false;
  os::DWORD type = 0;
  std::uint8_t data[4] = {};
  os::DWORD size = sizeof data;
  if (os::Sys().registry.RegQueryValueExW(key.Get(), kFeatureValue, nullptr, &type, data,
                                          &size) != os::kErrorSuccess) {
    return false;
  }
  std::uint32_t value = 0;
  std::memcpy(&value, data, sizeof value);
  return type == os::kRegDword && size == 4 && value == 1;
}

base::ErrorInfoPtr CNativeAppHelper::AddAMDDriverRegistryValues() {
  for (const char16_t* service : {u"amd_sata", u"amdsata"}) {
    const os::UniqueRegistryKey key = OpenFeatureKey(service);
    if (!key.IsValid()) continue;
    const std::uint8_t on[4] = {1, 0, 0, 0};
    os::Sys().registry.RegSetValueExW(key.Get(), kFeatureValue, 0, os::kRegDword, on, 4);
  }
  return base::MakeErrorInfo(u"NativeAppHelper", kAddValuesEntrySite,
                            u"CNativeAppHelper::AddAMDDriverRegistryValues");
}

}  // namespace update
