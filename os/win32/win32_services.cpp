#include <windows.h>

#include <vector>

#include "os/win32/native.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

static_assert(sizeof(ServiceStatus) == sizeof(SERVICE_STATUS));

SC_HANDLE Win32Services::OpenSCManagerW(const char16_t* machineName,
                                        const char16_t* databaseName,
                                        DWORD desiredAccess) {
  return FromNative<SC_HANDLE>(
      ::OpenSCManagerW(Wide(machineName), Wide(databaseName), desiredAccess));
}

SC_HANDLE Win32Services::CreateServiceW(SC_HANDLE manager, const char16_t* serviceName,
                                        const char16_t* displayName, DWORD desiredAccess,
                                        DWORD serviceType, DWORD startType,
                                        DWORD errorControl, const char16_t* binaryPathName,
                                        const char16_t* loadOrderGroup, DWORD* tagId,
                                        const char16_t* dependencies,
                                        const char16_t* serviceStartName,
                                        const char16_t* password) {
  ::DWORD tag = 0;
  const ::SC_HANDLE service = ::CreateServiceW(
      ToNative<::SC_HANDLE>(manager), Wide(serviceName), Wide(displayName),
      desiredAccess, serviceType, startType, errorControl, Wide(binaryPathName),
      Wide(loadOrderGroup), tagId != nullptr ? &tag : nullptr, Wide(dependencies),
      Wide(serviceStartName), Wide(password));
  if (tagId != nullptr) *tagId = tag;
  return FromNative<SC_HANDLE>(service);
}

SC_HANDLE Win32Services::OpenServiceW(SC_HANDLE manager, const char16_t* serviceName,
                                      DWORD desiredAccess) {
  return FromNative<SC_HANDLE>(
      ::OpenServiceW(ToNative<::SC_HANDLE>(manager), Wide(serviceName), desiredAccess));
}

BOOL Win32Services::StartServiceW(SC_HANDLE service, DWORD argumentCount,
                                  const char16_t** arguments) {
  return ::StartServiceW(ToNative<::SC_HANDLE>(service), argumentCount,
                         reinterpret_cast<LPCWSTR*>(arguments));
}

BOOL Win32Services::ControlService(SC_HANDLE service, DWORD control,
                                   ServiceStatus* status) {
  SERVICE_STATUS returned{};
  const ::BOOL ok = ::ControlService(ToNative<::SC_HANDLE>(service), control, &returned);
  if (status != nullptr) *status = *reinterpret_cast<ServiceStatus*>(&returned);
  return ok;
}

BOOL Win32Services::DeleteService(SC_HANDLE service) {
  return ::DeleteService(ToNative<::SC_HANDLE>(service));
}

BOOL Win32Services::CloseServiceHandle(SC_HANDLE object) {
  return ::CloseServiceHandle(ToNative<::SC_HANDLE>(object));
}

}  // namespace os::win32
