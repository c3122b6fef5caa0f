// The seam bound to the real Windows API. Each area forwards to the call of
// the same name; the only conversion is char16_t* to wchar_t* and the
// widths of the integer types.
#pragma once

#include "os/system.h"

namespace os::win32 {

class Win32Errors final : public Errors {
 public:
  DWORD GetLastError() override;
  void SetLastError(DWORD code) override;
};

class Win32Files final : public Files {
 public:
  DWORD GetModuleFileNameW(HMODULE module, char16_t* buffer,
                           DWORD size) override;
  BOOL PathRemoveFileSpecW(char16_t* path) override;
  BOOL SetCurrentDirectoryW(const char16_t* path) override;
  HANDLE CreateFileW(const char16_t* name, DWORD desiredAccess,
                     DWORD shareMode, void* securityAttributes,
                     DWORD creationDisposition, DWORD flagsAndAttributes,
                     HANDLE templateFile) override;
  BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead,
                void* overlapped) override;
  BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite,
                 DWORD* bytesWritten, void* overlapped) override;
  BOOL SetFilePointerEx(HANDLE file, std::int64_t distanceToMove,
                        std::int64_t* newFilePointer,
                        DWORD moveMethod) override;
  BOOL CloseHandle(HANDLE object) override;
};

class Win32Debug final : public Debug {
 public:
  void OutputDebugStringW(const char16_t* text) override;
};

class Win32Text final : public Text {
 public:
  int MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByte,
                          int multiByteCount, char16_t* wide,
                          int wideCount) override;
  int WideCharToMultiByte(UINT codePage, DWORD flags, const char16_t* wide,
                          int wideCount, char* multiByte, int multiByteCount,
                          const char* defaultChar,
                          BOOL* usedDefaultChar) override;
  int LoadStringW(HMODULE module, UINT id, char16_t* buffer,
                  int bufferMax) override;
};

class Win32Devices final : public Devices {
 public:
  HANDLE CreateFileW(const char16_t* name, DWORD desiredAccess,
                     DWORD shareMode, void* securityAttributes,
                     DWORD creationDisposition, DWORD flagsAndAttributes,
                     HANDLE templateFile) override;
  BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, void* inBuffer,
                       DWORD inBufferSize, void* outBuffer,
                       DWORD outBufferSize, DWORD* bytesReturned,
                       void* overlapped) override;
  BOOL CloseHandle(HANDLE object) override;
  HANDLE GetCurrentProcess() override;
  BOOL DuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess,
                       HANDLE* target, DWORD desiredAccess, BOOL inheritHandle,
                       DWORD options) override;
  HMODULE GetModuleHandleW(const char16_t* moduleName) override;
  ProcAddress GetProcAddress(HMODULE module, const char* name) override;
  NTSTATUS NtOpenSymbolicLinkObject(ProcAddress routine, HANDLE* link,
                                    DWORD desiredAccess,
                                    ObjectAttributes* attributes) override;
  NTSTATUS NtQuerySymbolicLinkObject(ProcAddress routine, HANDLE link,
                                     UnicodeString* target,
                                     std::uint32_t* returnedLength) override;
  NTSTATUS NtClose(ProcAddress routine, HANDLE object) override;
};

class Win32Version final : public Version {
 public:
  BOOL GetVersionExW(OsVersionInfo* info) override;
};

// Every area bound to Windows.
class Win32System {
 public:
  Win32System() : system_{errors, files, debug, text, devices, version} {}
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  System& system() { return system_; }

  Win32Errors errors;
  Win32Files files;
  Win32Debug debug;
  Win32Text text;
  Win32Devices devices;
  Win32Version version;

 private:
  System system_;
};

}  // namespace os::win32
