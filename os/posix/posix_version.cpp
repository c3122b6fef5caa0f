#include "os/posix/posix_system.h"

#include "os/constants.h"

namespace os::posix {

// A Windows 10 for the tool; nothing on Linux asks for a real one.
BOOL PosixVersion::GetVersionExW(OsVersionInfo* info) {
  if (info == nullptr || info->dwOSVersionInfoSize != kOsVersionInfoSize) return kFalse;
  info->dwMajorVersion = 10;
  info->dwMinorVersion = 0;
  info->dwBuildNumber = 19045;
  info->dwPlatformId = 2;
  return kTrue;
}

}  // namespace os::posix
