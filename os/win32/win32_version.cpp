#include <windows.h>

#include "os/win32/win32_system.h"

namespace os::win32 {

BOOL Win32Version::GetVersionExW(OsVersionInfo* info) {
  static_assert(sizeof(OsVersionInfo) == sizeof(OSVERSIONINFOW));
  return ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(info));
}

}  // namespace os::win32
