// Files and paths: the calls of kernel32 and shlwapi the system makes on
// its own files and folders (the system directory among them), with
// Win32's arguments, results and last-error codes.
#pragma once

#include <cstdint>

#include "os/types.h"

namespace os {

class Files {
 public:
  virtual ~Files() = default;

  virtual DWORD GetModuleFileNameW(HMODULE module, char16_t* buffer,
                                   DWORD size) = 0;
  virtual BOOL PathRemoveFileSpecW(char16_t* path) = 0;
  virtual BOOL SetCurrentDirectoryW(const char16_t* path) = 0;
  virtual UINT GetSystemDirectoryW(char16_t* buffer, UINT size) = 0;
  virtual FileHandle CreateFileW(const char16_t* name, DWORD desiredAccess,
                                 DWORD shareMode, void* securityAttributes,
                                 DWORD creationDisposition,
                                 DWORD flagsAndAttributes,
                                 FileHandle templateFile) = 0;
  virtual BOOL ReadFile(FileHandle file, void* buffer, DWORD bytesToRead,
                        DWORD* bytesRead, void* overlapped) = 0;
  virtual BOOL WriteFile(FileHandle file, const void* buffer, DWORD bytesToWrite,
                         DWORD* bytesWritten, void* overlapped) = 0;
  virtual BOOL SetFilePointerEx(FileHandle file, std::int64_t distanceToMove,
                                std::int64_t* newFilePointer,
                                DWORD moveMethod) = 0;
  virtual BOOL GetFileSizeEx(FileHandle file, std::int64_t* size) = 0;
  virtual BOOL CopyFileW(const char16_t* existing, const char16_t* newFile,
                         BOOL failIfExists) = 0;
  virtual BOOL DeleteFileW(const char16_t* name) = 0;
  virtual BOOL CloseHandle(FileHandle object) = 0;
};

}  // namespace os
