#include "os/fake/fake_version.h"

#include "os/constants.h"

namespace os::fake {

BOOL FillVersion(OsVersionInfo* info, DWORD major, DWORD minor, DWORD& error) {
  if (info == nullptr || info->dwOSVersionInfoSize != kOsVersionInfoSize) {
    error = kErrorInsufficientBuffer;
    return kFalse;
  }
  info->dwMajorVersion = major;
  info->dwMinorVersion = minor;
  info->dwBuildNumber = major >= 10 ? 19045 : 2600;
  info->dwPlatformId = 2;  // VER_PLATFORM_WIN32_NT
  info->szCSDVersion[0] = u'\0';
  return kTrue;
}

BOOL FakeVersion::GetVersionExW(OsVersionInfo* info) {
  DWORD error = 0;
  if (failCode_) {
    errors_.SetLastError(*failCode_);
    return kFalse;
  }
  const BOOL ok = FillVersion(info, major_, minor_, error);
  if (!ok) errors_.SetLastError(error);
  return ok;
}

}  // namespace os::fake
