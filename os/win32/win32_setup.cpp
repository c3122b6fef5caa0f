#include <windows.h>
#include <setupapi.h>

#include "os/win32/native.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

static_assert(sizeof(Guid) == sizeof(GUID));
static_assert(sizeof(DevInfoData) == sizeof(SP_DEVINFO_DATA));
static_assert(offsetof(DevInfoData, DevInst) == offsetof(SP_DEVINFO_DATA, DevInst));

HDEVINFO Win32Setup::SetupDiGetClassDevsW(const Guid* classGuid, const char16_t* enumerator,
                                          void* parent, DWORD flags) {
  return FromNative<HDEVINFO>(::SetupDiGetClassDevsW(
      reinterpret_cast<const GUID*>(classGuid), Wide(enumerator), static_cast<::HWND>(parent),
      flags));
}

BOOL Win32Setup::SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, DevInfoData* data) {
  return ::SetupDiEnumDeviceInfo(ToNative<::HDEVINFO>(set), index, reinterpret_cast<SP_DEVINFO_DATA*>(data));
}

BOOL Win32Setup::SetupDiGetDeviceRegistryPropertyW(HDEVINFO set, DevInfoData* data,
                                                   DWORD property, DWORD* regType,
                                                   std::uint8_t* buffer, DWORD bufferSize,
                                                   DWORD* requiredSize) {
  ::DWORD type = 0;
  ::DWORD required = 0;
  const ::BOOL ok = ::SetupDiGetDeviceRegistryPropertyW(
      ToNative<::HDEVINFO>(set), reinterpret_cast<SP_DEVINFO_DATA*>(data), property, &type, buffer, bufferSize,
      &required);
  if (regType != nullptr) *regType = type;
  if (requiredSize != nullptr) *requiredSize = required;
  return ok;
}

BOOL Win32Setup::SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  return ::SetupDiDestroyDeviceInfoList(ToNative<::HDEVINFO>(set));
}

}  // namespace os::win32
