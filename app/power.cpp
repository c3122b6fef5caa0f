#include "app/power.h"

#include "base/format.h"
#include "base/log.h"
#include "app/message_box.h"
#include "base/string_table.h"
#include "os/constants.h"
#include "os/scoped_handle.h"
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
    base::LoadAppString(base::IDS_POWER_STATUS_FAILED, text);
    text = base::FormatLoaded(text, code);
    if (base::IsLogOpen()) {
      base::WriteLogLine(u"GetSystemPowerStatus failed = 0x%x", sys.errors.GetLastError());
    }
    ShowMessage(text, os::kMbOk | os::kMbIconError);
    return -1;
  }
  if (status.ACLineStatus == kAcOnline) return 0;
  // Offline, unknown (255) or anything else: a desktop that cannot tell is
  // treated as a laptop on battery.
  if (base::IsLogOpen()) base::WriteLogLine(u"ACLineStatus = 0x%x", status.ACLineStatus);
  ShowStringMessage(base::IDS_PLUG_IN_AC, os::kMbOk | os::kMbIconError);
  return -1;
}

std::int32_t SystemReboot() {
  auto& sys = os::Sys();
  os::UniqueTokenHandle token;
  if (!sys.power.OpenProcessToken(sys.process.GetCurrentProcess(),
                                  os::kTokenAdjustPrivileges | os::kTokenQuery, token.Put())) {
    return 0;
  }
  os::TokenPrivileges privileges{};
  sys.power.LookupPrivilegeValueW(nullptr, u"SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = os::kSePrivilegeEnabled;
  sys.power.AdjustTokenPrivileges(token.Get(), os::kFalse, &privileges, 0, nullptr, nullptr);
  // The adjustment succeeds without the privilege; the last error tells.
  const os::DWORD adjusted = sys.errors.GetLastError();
  token.Reset();
  if (adjusted != os::kErrorSuccess) return 0;
  return sys.power.ExitWindowsEx(os::kEwxReboot | os::kEwxForce,
                                 os::kShutdownReasonPlannedHardwareDisk)
             ? 1
             : 0;
}

}  // namespace app
