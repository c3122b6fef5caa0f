// The native road against Wine's registry, file system and service control
// manager. Wine has no "BootExecute" value: the test first shows that the
// preparation then fails and rolls back, then gives Wine the value Windows
// has and prepares for real. Everything is removed again at the end.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/settings.h"
#include "os/constants.h"
#include "os/win32/win32_system.h"
#include "update/native_app_helper.h"
#include "update/update_run.h"

namespace {

constexpr wchar_t kSession[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kRoot[] = L"SYSTEM\\SOFTWARE\\Veltrax Corporation\\VLXFMUpdate";
constexpr wchar_t kRunOnce[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::wstring Read(const wchar_t* key, const wchar_t* name, DWORD* type = nullptr) {
  wchar_t data[2048] = {};
  DWORD size = sizeof data - 4;
  DWORD valueType = 0;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_ANY, &valueType, data, &size) !=
      ERROR_SUCCESS) {
    return L"<none>";
  }
  if (type != nullptr) *type = valueType;
  if (valueType == REG_DWORD) {
    DWORD value = 0;
    std::memcpy(&value, data, sizeof value);
    return std::to_wstring(value);
  }
  std::wstring text(data, size / 2);
  return text;
}

void SetBootExecute(const wchar_t* list, DWORD bytes) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSession, 0, KEY_WRITE, &key), ERROR_SUCCESS);
  if (list == nullptr) {
    RegDeleteValueW(key, L"BootExecute");
  } else {
    RegSetValueExW(key, L"BootExecute", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(list),
                   bytes);
  }
  RegCloseKey(key);
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The prefix's own folders, seen through Wine's Z: drive.
std::wstring PrefixPath(const wchar_t* below) {
  wchar_t prefix[MAX_PATH] = {};
  GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
  std::wstring path = std::wstring(L"Z:") + prefix + below;
  for (auto& c : path) c = c == L'/' ? L'\\' : c;
  return path;
}

class Selected final : public update::SelectionSource {
 public:
  update::Selection selection() const override { return drives; }
  update::Selection drives;
};

TEST(NativeRoadOnWindows, PreparesAndCleansUpForReal) {
  os::win32::Win32System win32;
  os::ScopedSystem guard(win32.system());
  ASSERT_TRUE(base::InitModuleFolder());
  Selected selected;
  for (int n : {5, 6}) {
    auto drive = std::make_shared<drives::CDrive>(nullptr, u"\\\\.\\PhysicalDrive" +
                                                       std::u16string(1, u'0' + n), 11);
    std::strcpy(drive->Model.data(), "VX7221-500G-A");
    std::strcpy(drive->SerialNumber.data(), n == 5 ? "VX5" : "VX6");
    drive->AvailableFirmwareFilePath = base::Settings().moduleFolder + u"\\vx7221.bin";
    selected.drives[drive->SerialNumberText()] = drive;
  }
  update::SetSelectionSource(&selected);
  const std::wstring system64 = PrefixPath(L"/drive_c/windows/system32/VLXFMNativeApp64.exe");
  const std::wstring syswow64 = PrefixPath(L"/drive_c/windows/syswow64/VLXFMNativeApp64.exe");

  // Without a boot-execute list the step fails and everything is undone.
  SetBootExecute(nullptr, 0);
  auto result = update::CNativeAppHelper().PrepareNativeUpdate();
  ASSERT_FALSE(base::IsSuccess(result));
  EXPECT_EQ(result->line, 370);
  EXPECT_EQ(Read(kRoot, L"DriveCount"), L"<none>");
  EXPECT_FALSE(Exists(system64));

  const wchar_t windowsList[] = L"autocheck autochk *\0";
  SetBootExecute(windowsList, sizeof windowsList);
  result = update::CNativeAppHelper().PrepareNativeUpdate();
  ASSERT_TRUE(base::IsSuccess(result)) << result->line << " " << result->code;
  EXPECT_EQ(Read(kRoot, L"DriveCount"), L"2");
  EXPECT_EQ(Read((std::wstring(kRoot) + L"\\0").c_str(), L"SerialNumber"), std::wstring(L"VX5") + L'\0');
  EXPECT_EQ(Read((std::wstring(kRoot) + L"\\1").c_str(), L"SerialNumber"), std::wstring(L"VX6") + L'\0');
  // The 64-bit name on a WOW64 prefix, in the real system directory.
  EXPECT_TRUE(Exists(system64));
  EXPECT_FALSE(Exists(syswow64));
  DWORD type = 0;
  const std::wstring list = Read(kSession, L"BootExecute", &type);
  EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(list, std::wstring(L"VLXFMNativeApp64\0autocheck autochk *\0\0", 38));
  const std::u16string folder = base::Settings().moduleFolder;
  EXPECT_EQ(Read(kRunOnce, L"VLXFMWizardApp"),
            L"\"" + std::wstring(folder.begin(), folder.end()) + L"\\VLXFMWizardApp.exe\" /done" +
                L'\0');

  update::CNativeAppHelper().CleanUpNativeUpdate();
  EXPECT_EQ(Read(kRoot, L"DriveCount"), L"<none>");
  EXPECT_FALSE(Exists(system64));
  EXPECT_EQ(Read(kSession, L"BootExecute"), std::wstring(L"autocheck autochk *\0\0", 21));
  EXPECT_NE(Read(kRunOnce, L"VLXFMWizardApp"), L"<none>");  // Windows consumes it

  HKEY runOnce = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunOnce, 0, KEY_WRITE, &runOnce) == ERROR_SUCCESS) {
    RegDeleteValueW(runOnce, L"VLXFMWizardApp");
    RegCloseKey(runOnce);
  }
  SetBootExecute(nullptr, 0);
  update::SetSelectionSource(nullptr);
}

}  // namespace
