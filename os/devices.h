// Devices: the physical drives and the firmware driver's device, opened and
// driven with I/O control calls, their handles duplicated, and the NT
// object manager's symbolic links that name them, reached through the ntdll
// entry points the modules area looks up.
#pragma once

#include <cstdint>

#include "os/modules.h"
#include "os/types.h"

namespace os {

using NTSTATUS = std::int32_t;

// UNICODE_STRING: lengths in bytes.
struct UnicodeString {
  std::uint16_t Length;
  std::uint16_t MaximumLength;
  char16_t* Buffer;
};

// OBJECT_ATTRIBUTES.
struct ObjectAttributes {
  std::uint32_t Length;
  HANDLE RootDirectory;
  UnicodeString* ObjectName;
  std::uint32_t Attributes;
  void* SecurityDescriptor;
  void* SecurityQualityOfService;
};

class Devices {
 public:
  virtual ~Devices() = default;

  virtual DeviceHandle CreateFileW(const char16_t* name, DWORD desiredAccess,
                                   DWORD shareMode, void* securityAttributes,
                                   DWORD creationDisposition,
                                   DWORD flagsAndAttributes,
                                   DeviceHandle templateFile) = 0;
  virtual BOOL DeviceIoControl(DeviceHandle device, DWORD ioControlCode,
                               void* inBuffer, DWORD inBufferSize,
                               void* outBuffer, DWORD outBufferSize,
                               DWORD* bytesReturned, void* overlapped) = 0;
  virtual BOOL CloseHandle(DeviceHandle object) = 0;

  virtual BOOL DuplicateHandle(ProcessHandle sourceProcess, DeviceHandle source,
                               ProcessHandle targetProcess, DeviceHandle* target,
                               DWORD desiredAccess, BOOL inheritHandle,
                               DWORD options) = 0;

  // The three routines, called through the address GetProcAddress gave.
  virtual NTSTATUS NtOpenSymbolicLinkObject(ProcAddress routine, HANDLE* link,
                                            DWORD desiredAccess,
                                            ObjectAttributes* attributes) = 0;
  virtual NTSTATUS NtQuerySymbolicLinkObject(ProcAddress routine, HANDLE link,
                                             UnicodeString* target,
                                             std::uint32_t* returnedLength) = 0;
  virtual NTSTATUS NtClose(ProcAddress routine, HANDLE object) = 0;
};

}  // namespace os
