#include "os/posix/posix_system.h"

#include "os/constants.h"

namespace os::posix {

HDEVINFO PosixSetup::SetupDiGetClassDevsW(const Guid*, const char16_t*, void*, DWORD) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return InvalidHandleValue();
}

BOOL PosixSetup::SetupDiEnumDeviceInfo(HDEVINFO, DWORD, DevInfoData*) {
  errors_.SetLastError(kErrorNoMoreItems);
  return kFalse;
}

BOOL PosixSetup::SetupDiGetDeviceRegistryPropertyW(HDEVINFO, DevInfoData*, DWORD, DWORD*,
                                                   std::uint8_t*, DWORD, DWORD*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixSetup::SetupDiDestroyDeviceInfoList(HDEVINFO) { return kFalse; }

}  // namespace os::posix
