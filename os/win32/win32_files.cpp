#include <windows.h>
#include <shlwapi.h>

#include "os/win32/native.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

DWORD Win32Files::GetModuleFileNameW(HMODULE module, char16_t* buffer, DWORD size) {
  return ::GetModuleFileNameW(ToNative<::HMODULE>(module), Wide(buffer), size);
}

BOOL Win32Files::PathRemoveFileSpecW(char16_t* path) { return ::PathRemoveFileSpecW(Wide(path)); }

BOOL Win32Files::SetCurrentDirectoryW(const char16_t* path) {
  return ::SetCurrentDirectoryW(Wide(path));
}

UINT Win32Files::GetSystemDirectoryW(char16_t* buffer, UINT size) {
  return ::GetSystemDirectoryW(Wide(buffer), size);
}

FileHandle Win32Files::CreateFileW(const char16_t* name, DWORD desiredAccess, DWORD shareMode,
                                   void* securityAttributes, DWORD creationDisposition,
                                   DWORD flagsAndAttributes, FileHandle templateFile) {
  return FromNative<FileHandle>(::CreateFileW(
      Wide(name), desiredAccess, shareMode, static_cast<LPSECURITY_ATTRIBUTES>(securityAttributes),
      creationDisposition, flagsAndAttributes, ToNative(templateFile)));
}

BOOL Win32Files::ReadFile(FileHandle file, void* buffer, DWORD bytesToRead, DWORD* bytesRead,
                          void* overlapped) {
  ::DWORD read = 0;
  const ::BOOL ok = ::ReadFile(ToNative(file), buffer, bytesToRead, &read,
                               static_cast<LPOVERLAPPED>(overlapped));
  if (bytesRead != nullptr) *bytesRead = read;
  return ok;
}

BOOL Win32Files::WriteFile(FileHandle file, const void* buffer, DWORD bytesToWrite,
                           DWORD* bytesWritten, void* overlapped) {
  ::DWORD written = 0;
  const ::BOOL ok = ::WriteFile(ToNative(file), buffer, bytesToWrite, &written,
                                static_cast<LPOVERLAPPED>(overlapped));
  if (bytesWritten != nullptr) *bytesWritten = written;
  return ok;
}

BOOL Win32Files::SetFilePointerEx(FileHandle file, std::int64_t distanceToMove,
                                  std::int64_t* newFilePointer, DWORD moveMethod) {
  LARGE_INTEGER distance;
  distance.QuadPart = distanceToMove;
  LARGE_INTEGER position;
  position.QuadPart = 0;
  const ::BOOL ok = ::SetFilePointerEx(ToNative(file), distance, &position, moveMethod);
  if (ok && newFilePointer != nullptr) *newFilePointer = position.QuadPart;
  return ok;
}

BOOL Win32Files::GetFileSizeEx(FileHandle file, std::int64_t* size) {
  LARGE_INTEGER value;
  value.QuadPart = 0;
  const ::BOOL ok = ::GetFileSizeEx(ToNative(file), &value);
  if (ok && size != nullptr) *size = value.QuadPart;
  return ok;
}

BOOL Win32Files::CopyFileW(const char16_t* existing, const char16_t* newFile,
                           BOOL failIfExists) {
  return ::CopyFileW(Wide(existing), Wide(newFile), failIfExists);
}

BOOL Win32Files::DeleteFileW(const char16_t* name) { return ::DeleteFileW(Wide(name)); }

BOOL Win32Files::CloseHandle(FileHandle object) { return ::CloseHandle(ToNative(object)); }

}  // namespace os::win32
