#include "os/memory/version_info.h"

#include "os/constants.h"

namespace os::memory {

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

}  // namespace os::memory
