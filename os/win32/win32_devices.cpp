#include <windows.h>
#include <winternl.h>

#include "os/win32/native.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

static_assert(sizeof(UnicodeString) == sizeof(UNICODE_STRING));
static_assert(offsetof(UnicodeString, Buffer) == offsetof(UNICODE_STRING, Buffer));
static_assert(sizeof(ObjectAttributes) == sizeof(OBJECT_ATTRIBUTES));
#if !defined(_WIN64)
static_assert(sizeof(ObjectAttributes) == 24);  // the 32-bit product's layout
#endif
static_assert(offsetof(ObjectAttributes, ObjectName) == offsetof(OBJECT_ATTRIBUTES, ObjectName));
static_assert(offsetof(ObjectAttributes, Attributes) == offsetof(OBJECT_ATTRIBUTES, Attributes));

namespace {

using OpenLink = LONG(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES);
using QueryLink = LONG(NTAPI*)(::HANDLE, PUNICODE_STRING, PULONG);
using CloseObject = LONG(NTAPI*)(::HANDLE);

}  // namespace

DeviceHandle Win32Devices::CreateFileW(const char16_t* name, DWORD desiredAccess,
                                       DWORD shareMode, void* securityAttributes,
                                       DWORD creationDisposition, DWORD flagsAndAttributes,
                                       DeviceHandle templateFile) {
  return FromNative<DeviceHandle>(::CreateFileW(
      Wide(name), desiredAccess, shareMode, static_cast<LPSECURITY_ATTRIBUTES>(securityAttributes),
      creationDisposition, flagsAndAttributes, ToNative(templateFile)));
}

BOOL Win32Devices::DeviceIoControl(DeviceHandle device, DWORD ioControlCode, void* inBuffer,
                                   DWORD inBufferSize, void* outBuffer, DWORD outBufferSize,
                                   DWORD* bytesReturned, void* overlapped) {
  ::DWORD returned = 0;
  const ::BOOL ok =
      ::DeviceIoControl(ToNative(device), ioControlCode, inBuffer, inBufferSize, outBuffer,
                        outBufferSize, &returned, static_cast<LPOVERLAPPED>(overlapped));
  if (bytesReturned != nullptr) *bytesReturned = returned;
  return ok;
}

BOOL Win32Devices::CloseHandle(DeviceHandle object) { return ::CloseHandle(ToNative(object)); }

BOOL Win32Devices::DuplicateHandle(ProcessHandle sourceProcess, DeviceHandle source,
                                   ProcessHandle targetProcess, DeviceHandle* target,
                                   DWORD desiredAccess, BOOL inheritHandle, DWORD options) {
  ::HANDLE copy = INVALID_HANDLE_VALUE;
  const ::BOOL ok = ::DuplicateHandle(ToNative(sourceProcess), ToNative(source),
                                      ToNative(targetProcess), &copy, desiredAccess,
                                      inheritHandle, options);
  if (target != nullptr && ok) *target = FromNative<DeviceHandle>(copy);
  return ok;
}

NTSTATUS Win32Devices::NtOpenSymbolicLinkObject(ProcAddress routine, HANDLE* link,
                                                DWORD desiredAccess,
                                                ObjectAttributes* attributes) {
  ::HANDLE opened = nullptr;
  const LONG status = reinterpret_cast<OpenLink>(routine)(
      &opened, desiredAccess, reinterpret_cast<POBJECT_ATTRIBUTES>(attributes));
  if (link != nullptr) *link = FromNative<HANDLE>(opened);
  return status;
}

NTSTATUS Win32Devices::NtQuerySymbolicLinkObject(ProcAddress routine, HANDLE link,
                                                 UnicodeString* target,
                                                 std::uint32_t* returnedLength) {
  ULONG length = 0;
  const LONG status = reinterpret_cast<QueryLink>(routine)(
      ToNative(link), reinterpret_cast<PUNICODE_STRING>(target), &length);
  if (returnedLength != nullptr) *returnedLength = length;
  return status;
}

NTSTATUS Win32Devices::NtClose(ProcAddress routine, HANDLE object) {
  return reinterpret_cast<CloseObject>(routine)(ToNative(object));
}

}  // namespace os::win32
