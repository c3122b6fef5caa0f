#include "os/posix/posix_system.h"

#include "os/constants.h"

namespace os::posix {

DeviceHandle PosixDevices::CreateFileW(const char16_t*, DWORD, DWORD, void*, DWORD,
                                       DWORD, DeviceHandle) {
  errors_.SetLastError(kErrorFileNotFound);
  return InvalidHandleValue();
}

BOOL PosixDevices::DeviceIoControl(DeviceHandle, DWORD, void*, DWORD, void*, DWORD,
                                   DWORD* bytesReturned, void*) {
  if (bytesReturned != nullptr) *bytesReturned = 0;
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

BOOL PosixDevices::CloseHandle(DeviceHandle) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

BOOL PosixDevices::DuplicateHandle(ProcessHandle, DeviceHandle, ProcessHandle, DeviceHandle*, DWORD, BOOL, DWORD) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

NTSTATUS PosixDevices::NtOpenSymbolicLinkObject(ProcAddress, HANDLE*, DWORD,
                                                ObjectAttributes*) {
  return kStatusObjectNameNotFound;
}

NTSTATUS PosixDevices::NtQuerySymbolicLinkObject(ProcAddress, HANDLE, UnicodeString*,
                                                 std::uint32_t*) {
  return kStatusInvalidHandle;
}

NTSTATUS PosixDevices::NtClose(ProcAddress, HANDLE) { return kStatusInvalidHandle; }

}  // namespace os::posix
