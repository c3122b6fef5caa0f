#include <windows.h>

#include "os/win32/wide.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

HANDLE Win32Devices::CreateFileW(const char16_t* name, DWORD desiredAccess,
                                 DWORD shareMode, void* securityAttributes,
                                 DWORD creationDisposition,
                                 DWORD flagsAndAttributes,
                                 HANDLE templateFile) {
  return ::CreateFileW(Wide(name), desiredAccess, shareMode,
                       static_cast<LPSECURITY_ATTRIBUTES>(securityAttributes),
                       creationDisposition, flagsAndAttributes, templateFile);
}

BOOL Win32Devices::DeviceIoControl(HANDLE device, DWORD ioControlCode,
                                   void* inBuffer, DWORD inBufferSize,
                                   void* outBuffer, DWORD outBufferSize,
                                   DWORD* bytesReturned, void* overlapped) {
  ::DWORD returned = 0;
  const ::BOOL ok = ::DeviceIoControl(
      device, ioControlCode, inBuffer, inBufferSize, outBuffer, outBufferSize,
      &returned, static_cast<LPOVERLAPPED>(overlapped));
  if (bytesReturned != nullptr) *bytesReturned = returned;
  return ok;
}

BOOL Win32Devices::CloseHandle(HANDLE object) { return ::CloseHandle(object); }

}  // namespace os::win32
