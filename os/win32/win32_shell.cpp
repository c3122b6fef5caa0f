// Power and restart, message boxes, the registry and SetupAPI.
#include <windows.h>
#include <setupapi.h>

#include "os/win32/wide.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

static_assert(sizeof(SystemPowerStatus) == sizeof(SYSTEM_POWER_STATUS));
static_assert(sizeof(Luid) == sizeof(LUID));
static_assert(sizeof(TokenPrivileges) == sizeof(TOKEN_PRIVILEGES));
static_assert(offsetof(TokenPrivileges, Privileges) == offsetof(TOKEN_PRIVILEGES, Privileges));
static_assert(sizeof(Guid) == sizeof(GUID));
static_assert(sizeof(DevInfoData) == sizeof(SP_DEVINFO_DATA));
static_assert(offsetof(DevInfoData, DevInst) == offsetof(SP_DEVINFO_DATA, DevInst));

BOOL Win32Power::GetSystemPowerStatus(SystemPowerStatus* status) {
  return ::GetSystemPowerStatus(reinterpret_cast<SYSTEM_POWER_STATUS*>(status));
}

BOOL Win32Power::OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token) {
  return ::OpenProcessToken(process, desiredAccess, token);
}

BOOL Win32Power::LookupPrivilegeValueW(const char16_t* systemName, const char16_t* name,
                                       Luid* luid) {
  return ::LookupPrivilegeValueW(Wide(systemName), Wide(name), reinterpret_cast<LUID*>(luid));
}

BOOL Win32Power::AdjustTokenPrivileges(HANDLE token, BOOL disableAll,
                                       TokenPrivileges* newState, DWORD bufferLength,
                                       TokenPrivileges* previousState, DWORD* returnLength) {
  ::DWORD length = 0;
  const ::BOOL ok = ::AdjustTokenPrivileges(
      token, disableAll, reinterpret_cast<TOKEN_PRIVILEGES*>(newState), bufferLength,
      reinterpret_cast<TOKEN_PRIVILEGES*>(previousState), returnLength ? &length : nullptr);
  if (returnLength != nullptr) *returnLength = length;
  return ok;
}

BOOL Win32Power::ExitWindowsEx(UINT flags, DWORD reason) {
  return ::ExitWindowsEx(flags, reason);
}

UINT Win32Power::GetSystemDirectoryW(char16_t* buffer, UINT size) {
  return ::GetSystemDirectoryW(Wide(buffer), size);
}

BOOL Win32Power::CloseHandle(HANDLE object) { return ::CloseHandle(object); }

int Win32Messages::MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption,
                               UINT type) {
  return ::MessageBoxW(static_cast<::HWND>(owner), Wide(text), Wide(caption), type);
}

LSTATUS Win32Registry::RegOpenKeyExW(HKEY key, const char16_t* subKey, DWORD options,
                                     DWORD desiredAccess, HKEY* result) {
  return ::RegOpenKeyExW(static_cast<::HKEY>(key), Wide(subKey), options, desiredAccess,
                         reinterpret_cast<::HKEY*>(result));
}

LSTATUS Win32Registry::RegCreateKeyExW(HKEY key, const char16_t* subKey, DWORD reserved,
                                       char16_t* className, DWORD options,
                                       DWORD desiredAccess, void* securityAttributes,
                                       HKEY* result, DWORD* disposition) {
  ::DWORD created = 0;
  const LSTATUS status = ::RegCreateKeyExW(
      static_cast<::HKEY>(key), Wide(subKey), reserved, Wide(className), options,
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
      ::RegQueryValueExW(static_cast<::HKEY>(key), Wide(valueName),
                         reinterpret_cast<LPDWORD>(reserved), &valueType, data,
                         dataSize != nullptr ? &size : nullptr);
  if (type != nullptr) *type = valueType;
  if (dataSize != nullptr) *dataSize = size;
  return status;
}

LSTATUS Win32Registry::RegSetValueExW(HKEY key, const char16_t* valueName, DWORD reserved,
                                      DWORD type, const std::uint8_t* data, DWORD dataSize) {
  return ::RegSetValueExW(static_cast<::HKEY>(key), Wide(valueName), reserved, type, data,
                          dataSize);
}

LSTATUS Win32Registry::RegDeleteValueW(HKEY key, const char16_t* valueName) {
  return ::RegDeleteValueW(static_cast<::HKEY>(key), Wide(valueName));
}

LSTATUS Win32Registry::RegDeleteTreeW(HKEY key, const char16_t* subKey) {
  return ::RegDeleteTreeW(static_cast<::HKEY>(key), Wide(subKey));
}

LSTATUS Win32Registry::RegCloseKey(HKEY key) { return ::RegCloseKey(static_cast<::HKEY>(key)); }

HDEVINFO Win32Setup::SetupDiGetClassDevsW(const Guid* classGuid, const char16_t* enumerator,
                                          void* parent, DWORD flags) {
  return ::SetupDiGetClassDevsW(reinterpret_cast<const GUID*>(classGuid), Wide(enumerator),
                                static_cast<::HWND>(parent), flags);
}

BOOL Win32Setup::SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, DevInfoData* data) {
  return ::SetupDiEnumDeviceInfo(set, index, reinterpret_cast<SP_DEVINFO_DATA*>(data));
}

BOOL Win32Setup::SetupDiGetDeviceRegistryPropertyW(HDEVINFO set, DevInfoData* data,
                                                   DWORD property, DWORD* regType,
                                                   std::uint8_t* buffer, DWORD bufferSize,
                                                   DWORD* requiredSize) {
  ::DWORD type = 0;
  ::DWORD required = 0;
  const ::BOOL ok = ::SetupDiGetDeviceRegistryPropertyW(
      set, reinterpret_cast<SP_DEVINFO_DATA*>(data), property, &type, buffer, bufferSize,
      &required);
  if (regType != nullptr) *regType = type;
  if (requiredSize != nullptr) *requiredSize = required;
  return ok;
}

BOOL Win32Setup::SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  return ::SetupDiDestroyDeviceInfoList(set);
}

}  // namespace os::win32
