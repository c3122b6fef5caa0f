#include <windows.h>
#include "os/win32/native.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

LSTATUS Win32Registry::RegOpenKeyExW(HKEY key, const char16_t* subKey, DWORD options,
                                     DWORD desiredAccess, HKEY* result) {
  return ::RegOpenKeyExW(ToNative<::HKEY>(key), Wide(subKey), options, desiredAccess,
                         reinterpret_cast<::HKEY*>(result));
}

LSTATUS Win32Registry::RegCreateKeyExW(HKEY key, const char16_t* subKey, DWORD reserved,
                                       char16_t* className, DWORD options,
                                       DWORD desiredAccess, void* securityAttributes,
                                       HKEY* result, DWORD* disposition) {
  ::DWORD created = 0;
  const LSTATUS status = ::RegCreateKeyExW(
      ToNative<::HKEY>(key), Wide(subKey), reserved, Wide(className), options,
      desiredAccess, static_cast<LPSECURITY_ATTRIBUTES>(securityAttributes),
      reinterpret_cast<::HKEY*>(result), &created);
  if (disposition != nullptr) *disposition = created;
  return status;
}

LSTATUS Win32Registry::RegQueryValueExW(HKEY key, const char16_t* valueName, DWORD* reserved,
                                        DWORD* type, std::uint8_t* data, DWORD* dataSize) {
  ::DWORD valueType = 0;
  ::DWORD size = dataSize != nullptr ? *dataSize : 0;
  const LSTATUS status =
      ::RegQueryValueExW(ToNative<::HKEY>(key), Wide(valueName),
                         reinterpret_cast<LPDWORD>(reserved), &valueType, data,
                         dataSize != nullptr ? &size : nullptr);
  if (type != nullptr) *type = valueType;
  if (dataSize != nullptr) *dataSize = size;
  return status;
}

LSTATUS Win32Registry::RegSetValueExW(HKEY key, const char16_t* valueName, DWORD reserved,
                                      DWORD type, const std::uint8_t* data, DWORD dataSize) {
  return ::RegSetValueExW(ToNative<::HKEY>(key), Wide(valueName), reserved, type, data,
                          dataSize);
}

LSTATUS Win32Registry::RegDeleteValueW(HKEY key, const char16_t* valueName) {
  return ::RegDeleteValueW(ToNative<::HKEY>(key), Wide(valueName));
}

LSTATUS Win32Registry::RegDeleteTreeW(HKEY key, const char16_t* subKey) {
  return ::RegDeleteTreeW(ToNative<::HKEY>(key), Wide(subKey));
}

LSTATUS Win32Registry::RegCloseKey(HKEY key) { return ::RegCloseKey(ToNative<::HKEY>(key)); }

}  // namespace os::win32
