// Devices: the physical drives and the firmware driver's device, opened and
// driven with I/O control calls.
#pragma once

#include "os/types.h"

namespace os {

class Devices {
 public:
  virtual ~Devices() = default;

  virtual HANDLE CreateFileW(const char16_t* name, DWORD desiredAccess,
                             DWORD shareMode, void* securityAttributes,
                             DWORD creationDisposition,
                             DWORD flagsAndAttributes,
                             HANDLE templateFile) = 0;
  virtual BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode,
                               void* inBuffer, DWORD inBufferSize,
                               void* outBuffer, DWORD outBufferSize,
                               DWORD* bytesReturned, void* overlapped) = 0;
  virtual BOOL CloseHandle(HANDLE object) = 0;
};

}  // namespace os
