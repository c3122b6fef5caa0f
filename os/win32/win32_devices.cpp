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

#include <winternl.h>

namespace os::win32 {

static_assert(sizeof(UnicodeString) == sizeof(UNICODE_STRING));
static_assert(offsetof(UnicodeString, Buffer) == offsetof(UNICODE_STRING, Buffer));
static_assert(sizeof(ObjectAttributes) == sizeof(OBJECT_ATTRIBUTES));
static_assert(sizeof(ObjectAttributes) == 24);
static_assert(offsetof(ObjectAttributes, ObjectName) ==
              offsetof(OBJECT_ATTRIBUTES, ObjectName));
static_assert(offsetof(ObjectAttributes, Attributes) ==
              offsetof(OBJECT_ATTRIBUTES, Attributes));

namespace {

using OpenLink = LONG(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES);
using QueryLink = LONG(NTAPI*)(HANDLE, PUNICODE_STRING, PULONG);
using CloseObject = LONG(NTAPI*)(HANDLE);

}  // namespace

HANDLE Win32Devices::GetCurrentProcess() { return ::GetCurrentProcess(); }

BOOL Win32Devices::DuplicateHandle(HANDLE sourceProcess, HANDLE source,
                                   HANDLE targetProcess, HANDLE* target,
                                   DWORD desiredAccess, BOOL inheritHandle,
                                   DWORD options) {
  return ::DuplicateHandle(sourceProcess, source, targetProcess, target,
                           desiredAccess, inheritHandle, options);
}

HMODULE Win32Devices::GetModuleHandleW(const char16_t* moduleName) {
  return ::GetModuleHandleW(Wide(moduleName));
}

ProcAddress Win32Devices::GetProcAddress(HMODULE module, const char* name) {
  return reinterpret_cast<ProcAddress>(
      ::GetProcAddress(static_cast<::HMODULE>(module), name));
}

NTSTATUS Win32Devices::NtOpenSymbolicLinkObject(ProcAddress routine, HANDLE* link,
                                                DWORD desiredAccess,
                                                ObjectAttributes* attributes) {
  return reinterpret_cast<OpenLink>(routine)(
      link, desiredAccess, reinterpret_cast<POBJECT_ATTRIBUTES>(attributes));
}

NTSTATUS Win32Devices::NtQuerySymbolicLinkObject(ProcAddress routine, HANDLE link,
                                                 UnicodeString* target,
                                                 std::uint32_t* returnedLength) {
  ULONG length = 0;
  const LONG status = reinterpret_cast<QueryLink>(routine)(
      link, reinterpret_cast<PUNICODE_STRING>(target), &length);
  if (returnedLength != nullptr) *returnedLength = length;
  return status;
}

NTSTATUS Win32Devices::NtClose(ProcAddress routine, HANDLE object) {
  return reinterpret_cast<CloseObject>(routine)(object);
}

BOOL Win32Version::GetVersionExW(OsVersionInfo* info) {
  static_assert(sizeof(OsVersionInfo) == sizeof(OSVERSIONINFOW));
  return ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(info));
}

}  // namespace os::win32
