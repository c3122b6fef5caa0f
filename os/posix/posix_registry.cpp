#include "os/posix/posix_system.h"

#include "os/constants.h"

namespace os::posix {

LSTATUS PosixRegistry::RegOpenKeyExW(HKEY, const char16_t*, DWORD, DWORD, HKEY*) {
  return kErrorFileNotFound;
}

LSTATUS PosixRegistry::RegCreateKeyExW(HKEY, const char16_t*, DWORD, char16_t*, DWORD, DWORD,
                                    void*, HKEY*, DWORD*) {
  return kErrorAccessDenied;
}

LSTATUS PosixRegistry::RegQueryValueExW(HKEY, const char16_t*, DWORD*, DWORD*, std::uint8_t*,
                                     DWORD*) {
  return kErrorInvalidHandle;
}

LSTATUS PosixRegistry::RegSetValueExW(HKEY, const char16_t*, DWORD, DWORD, const std::uint8_t*,
                                   DWORD) {
  return kErrorInvalidHandle;
}

LSTATUS PosixRegistry::RegDeleteValueW(HKEY, const char16_t*) { return kErrorInvalidHandle; }

LSTATUS PosixRegistry::RegDeleteTreeW(HKEY, const char16_t*) { return kErrorInvalidHandle; }

LSTATUS PosixRegistry::RegCloseKey(HKEY) { return kErrorInvalidHandle; }

}  // namespace os::posix
