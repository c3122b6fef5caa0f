// The Windows version, as GetVersionExW reports it.
#pragma once

#include "os/types.h"

namespace os {

// OSVERSIONINFOW: 276 bytes on every build.
struct OsVersionInfo {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  char16_t szCSDVersion[128];
};
static_assert(sizeof(OsVersionInfo) == 276);

class Version {
 public:
  virtual ~Version() = default;
  virtual BOOL GetVersionExW(OsVersionInfo* info) = 0;
};

}  // namespace os
