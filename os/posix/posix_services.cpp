#include "os/posix/posix_system.h"

#include "os/constants.h"

namespace os::posix {

SC_HANDLE PosixServices::OpenSCManagerW(const char16_t*, const char16_t*, DWORD) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return nullptr;
}

SC_HANDLE PosixServices::CreateServiceW(SC_HANDLE, const char16_t*, const char16_t*, DWORD,
                                        DWORD, DWORD, DWORD, const char16_t*,
                                        const char16_t*, DWORD*, const char16_t*,
                                        const char16_t*, const char16_t*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return nullptr;
}

SC_HANDLE PosixServices::OpenServiceW(SC_HANDLE, const char16_t*, DWORD) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return nullptr;
}

BOOL PosixServices::StartServiceW(SC_HANDLE, DWORD, const char16_t**) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixServices::ControlService(SC_HANDLE, DWORD, ServiceStatus*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixServices::DeleteService(SC_HANDLE) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixServices::CloseServiceHandle(SC_HANDLE) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

}  // namespace os::posix
