#include "app/power.h"

#include "app/format.h"
#include "app/log.h"
#include "app/message_box.h"
#include "app/string_table.h"
#include "os/constants.h"
#include "os/system.h"

namespace app {
namespace {

constexpr std::uint8_t kAcOnline = 1;

}  // namespace

std::int32_t CheckPowerSource() {
  auto& sys = os::Sys();
  os::SystemPowerStatus status{};
  if (!sys.power.GetSystemPowerStatus(&status)) {
    const os::DWORD code = sys.errors.GetLastError();
    std::u16string text;
    LoadAppString(IDS_POWER_STATUS_FAILED, text);
    text = FormatLoaded(text, code);
    if (IsLogOpen()) {
      WriteLogLine(u"GetSystemPowerStatus failed = 0x%x", sys.errors.GetLastError());
    }
    ShowMessage(text, os::kMbOk | os::kMbIconError);
    return -1;
  }
  if (status.ACLineStatus == kAcOnline) return 0;
  // Offline, unknown (255) or anything else: a desktop that cannot tell is
  // treated as a laptop on battery.
  if (IsLogOpen()) WriteLogLine(u"ACLineStatus = 0x%x", status.ACLineStatus);
  ShowStringMessage(IDS_PLUG_IN_AC, os::kMbOk | os::kMbIconError);
  return -1;
}

std::int32_t SystemReboot() {
  auto& sys = os::Sys();
  os::HANDLE token = nullptr;
  if (!sys.power.OpenProcessToken(sys.process.GetCurrentProcess(),
                                  os::kTokenAdjustPrivileges | os::kTokenQuery, &token)) {
    return 0;
  }
  os::TokenPrivileges privileges{};
  sys.power.LookupPrivilegeValueW(nullptr, u"SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = os::kSePrivilegeEnabled;
  sys.power.AdjustTokenPrivileges(token, os::kFalse, &privileges, 0, nullptr, nullptr);
  // The adjustment succeeds without the privilege; the last error tells.
  const os::DWORD adjusted = sys.errors.GetLastError();
  sys.power.CloseHandle(token);
  if (adjusted != os::kErrorSuccess) return 0;
  return sys.power.ExitWindowsEx(os::kEwxReboot | os::kEwxForce,
                                 os::kShutdownReasonPlannedHardwareDisk)
             ? 1
             : 0;
}

bool GetSystemDirectoryPath(std::u16string& path) {
  path.clear();
  char16_t buffer[os::kMaxPath] = {};
  const os::UINT length = os::Sys().power.GetSystemDirectoryW(buffer, os::kMaxPath);
  if (length == 0 || length >= os::kMaxPath) return false;
  path.assign(buffer, length);
  while (path.size() > 3 && path.back() == u'\\') path.pop_back();
  return true;
}

}  // namespace app
