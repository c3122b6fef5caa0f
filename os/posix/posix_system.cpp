#include "os/posix/posix_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <cstdio>
#include <string>

#include "os/constants.h"
#include "os/cp1252.h"

namespace os::posix {
namespace {

thread_local DWORD lastError = 0;

// Handles are file descriptors moved clear of NULL.
constexpr std::intptr_t kHandleBias = 0x10000;

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(fd + kHandleBias); }

int FdOf(HANDLE handle) {
  const auto value = reinterpret_cast<std::intptr_t>(handle);
  return value < kHandleBias ? -1 : static_cast<int>(value - kHandleBias);
}

DWORD Win32ErrorOf(int error) {
  switch (error) {
    case ENOENT:
      return kErrorFileNotFound;
    case ENOTDIR:
      return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
      return kErrorAccessDenied;
    case EEXIST:
      return kErrorFileExists;
    case EBADF:
      return kErrorInvalidHandle;
    case ENOMEM:
      return kErrorNotEnoughMemory;
    case EINVAL:
      return kErrorInvalidParameter;
    default:
      return kErrorIoDevice;
  }
}

// UTF-16 to the UTF-8 the file system takes, with "\" read as "/".
std::string NativePath(const char16_t* path) {
  std::string out;
  for (; *path != u'\0'; ++path) {
    const char16_t c = *path == u'\\' ? u'/' : *path;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

}  // namespace

DWORD PosixErrors::GetLastError() { return lastError; }

void PosixErrors::SetLastError(DWORD code) { lastError = code; }

BOOL PosixFiles::FailWithErrno() {
  errors_.SetLastError(Win32ErrorOf(errno));
  return kFalse;
}

DWORD PosixFiles::GetModuleFileNameW(HMODULE, char16_t* buffer, DWORD size) {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) {
    FailWithErrno();
    return 0;
  }
  if (size == 0) {
    errors_.SetLastError(kErrorInsufficientBuffer);
    return 0;
  }
  // Byte by byte: the tool's own path is ASCII wherever it is built.
  const auto count = static_cast<DWORD>(length);
  const DWORD copied = count < size ? count : size;
  for (DWORD i = 0; i < copied; ++i) {
    buffer[i] = static_cast<unsigned char>(path[i]);
  }
  if (count >= size) {
    errors_.SetLastError(kErrorInsufficientBuffer);
    return size;
  }
  buffer[count] = u'\0';
  return count;
}

BOOL PosixFiles::PathRemoveFileSpecW(char16_t* path) {
  if (path == nullptr) return kFalse;
  std::size_t last = std::u16string::npos;
  for (std::size_t i = 0; path[i] != u'\0'; ++i) {
    if (IsSeparator(path[i])) last = i;
  }
  if (last == std::u16string::npos) {
    const bool removed = path[0] != u'\0';
    path[0] = u'\0';
    return removed ? kTrue : kFalse;
  }
  const std::size_t cut = last == 0 ? 1 : last;  // keep the root "/"
  if (path[cut] == u'\0') return kFalse;
  path[cut] = u'\0';
  return kTrue;
}

BOOL PosixFiles::SetCurrentDirectoryW(const char16_t* path) {
  if (path == nullptr) return kFalse;
  return chdir(NativePath(path).c_str()) == 0 ? kTrue : FailWithErrno();
}

HANDLE PosixFiles::CreateFileW(const char16_t* name, DWORD desiredAccess,
                               DWORD, void*, DWORD creationDisposition,
                               DWORD flagsAndAttributes, HANDLE) {
  if (name == nullptr) {
    errors_.SetLastError(kErrorInvalidParameter);
    return InvalidHandleValue();
  }
  const bool read = desiredAccess & kGenericRead;
  const bool write = desiredAccess & kGenericWrite;
  int flags = read && write ? O_RDWR : (write ? O_WRONLY : O_RDONLY);
  switch (creationDisposition) {
    case kCreateNew:
      flags |= O_CREAT | O_EXCL;
      break;
    case kCreateAlways:
      flags |= O_CREAT | O_TRUNC;
      break;
    case kOpenAlways:
      flags |= O_CREAT;
      break;
    case kTruncateExisting:
      flags |= O_TRUNC;
      break;
    default:
      break;
  }
  if (flagsAndAttributes & kFileFlagWriteThrough) flags |= O_DSYNC;
  const int fd = open(NativePath(name).c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) {
    FailWithErrno();
    return InvalidHandleValue();
  }
  errors_.SetLastError(kErrorSuccess);
  return HandleOf(fd);
}

BOOL PosixFiles::ReadFile(HANDLE file, void* buffer, DWORD bytesToRead,
                          DWORD* bytesRead, void*) {
  if (bytesRead != nullptr) *bytesRead = 0;
  const ssize_t count = read(FdOf(file), buffer, bytesToRead);
  if (count < 0) return FailWithErrno();
  if (bytesRead != nullptr) *bytesRead = static_cast<DWORD>(count);
  return kTrue;
}

BOOL PosixFiles::WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite,
                           DWORD* bytesWritten, void*) {
  if (bytesWritten != nullptr) *bytesWritten = 0;
  const ssize_t count = write(FdOf(file), buffer, bytesToWrite);
  if (count < 0) return FailWithErrno();
  if (bytesWritten != nullptr) *bytesWritten = static_cast<DWORD>(count);
  return kTrue;
}

BOOL PosixFiles::SetFilePointerEx(HANDLE file, std::int64_t distanceToMove,
                                  std::int64_t* newFilePointer,
                                  DWORD moveMethod) {
  const int whence = moveMethod == kFileEnd       ? SEEK_END
                     : moveMethod == kFileCurrent ? SEEK_CUR
                                                  : SEEK_SET;
  const off_t position = lseek(FdOf(file), distanceToMove, whence);
  if (position < 0) return FailWithErrno();
  if (newFilePointer != nullptr) *newFilePointer = position;
  return kTrue;
}

BOOL PosixFiles::GetFileSizeEx(HANDLE file, std::int64_t* size) {
  struct stat info {};
  if (fstat(FdOf(file), &info) != 0) return FailWithErrno();
  if (size != nullptr) *size = info.st_size;
  return kTrue;
}

BOOL PosixFiles::CopyFileW(const char16_t*, const char16_t*, BOOL) {
  errors_.SetLastError(120);  // ERROR_CALL_NOT_IMPLEMENTED: the tool copies nothing
  return kFalse;
}

BOOL PosixFiles::DeleteFileW(const char16_t* name) {
  if (name == nullptr) return kFalse;
  return unlink(NativePath(name).c_str()) == 0 ? kTrue : FailWithErrno();
}

BOOL PosixFiles::CloseHandle(HANDLE object) {
  return close(FdOf(object)) == 0 ? kTrue : FailWithErrno();
}

void PosixDebug::OutputDebugStringW(const char16_t* text) {
  std::string narrow;
  for (; text != nullptr && *text != u'\0'; ++text) {
    narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
  }
  std::fputs(narrow.c_str(), stderr);
}

int PosixText::MultiByteToWideChar(UINT codePage, DWORD, const char* multiByte,
                                   int multiByteCount, char16_t* wide,
                                   int wideCount) {
  DWORD error = 0;
  const int count = cp1252::MultiByteToWide(codePage, multiByte, multiByteCount,
                                            wide, wideCount, error);
  if (count == 0) errors_.SetLastError(error);
  return count;
}

int PosixText::WideCharToMultiByte(UINT codePage, DWORD, const char16_t* wide,
                                   int wideCount, char* multiByte,
                                   int multiByteCount, const char* defaultChar,
                                   BOOL* usedDefaultChar) {
  DWORD error = 0;
  const int count =
      cp1252::WideToMultiByte(codePage, wide, wideCount, multiByte,
                              multiByteCount, defaultChar, usedDefaultChar, error);
  if (count == 0) errors_.SetLastError(error);
  return count;
}

int PosixText::LoadStringW(HMODULE, UINT id, char16_t* buffer, int bufferMax) {
  DWORD error = 0;
  const int length = LoadStringFromTable(strings_, id, buffer, bufferMax, error);
  if (length == 0) errors_.SetLastError(error);
  return length;
}

HANDLE PosixDevices::CreateFileW(const char16_t*, DWORD, DWORD, void*, DWORD,
                                 DWORD, HANDLE) {
  errors_.SetLastError(kErrorFileNotFound);
  return InvalidHandleValue();
}

BOOL PosixDevices::DeviceIoControl(HANDLE, DWORD, void*, DWORD, void*, DWORD,
                                   DWORD* bytesReturned, void*) {
  if (bytesReturned != nullptr) *bytesReturned = 0;
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

BOOL PosixDevices::CloseHandle(HANDLE) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

HANDLE PosixDevices::GetCurrentProcess() {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
}

BOOL PosixDevices::DuplicateHandle(HANDLE, HANDLE, HANDLE, HANDLE*, DWORD, BOOL, DWORD) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

// Linux has no ntdll.
HMODULE PosixDevices::GetModuleHandleW(const char16_t*) {
  errors_.SetLastError(kErrorModNotFound);
  return nullptr;
}

ProcAddress PosixDevices::GetProcAddress(HMODULE, const char*) {
  errors_.SetLastError(kErrorProcNotFound);
  return nullptr;
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

// A Windows 10 for the tool; nothing on Linux asks for a real one.
BOOL PosixVersion::GetVersionExW(OsVersionInfo* info) {
  if (info == nullptr || info->dwOSVersionInfoSize != kOsVersionInfoSize) return kFalse;
  info->dwMajorVersion = 10;
  info->dwMinorVersion = 0;
  info->dwBuildNumber = 19045;
  info->dwPlatformId = 2;
  return kTrue;
}

namespace {
constexpr DWORD kErrorCallNotImplemented = 120;
}  // namespace

SC_HANDLE PosixServices::OpenSCManagerW(const char16_t*, const char16_t*, DWORD) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return nullptr;
}

SC_HANDLE PosixServices::CreateServiceW(SC_HANDLE, const char16_t*, const char16_t*, DWORD,
                                        DWORD, DWORD, DWORD, const char16_t*,
                                        const char16_t*, DWORD*, const char16_t*,
                                        const char16_t*, const char16_t*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return nullptr;
}

SC_HANDLE PosixServices::OpenServiceW(SC_HANDLE, const char16_t*, DWORD) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return nullptr;
}

BOOL PosixServices::StartServiceW(SC_HANDLE, DWORD, const char16_t**) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixServices::ControlService(SC_HANDLE, DWORD, ServiceStatus*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixServices::DeleteService(SC_HANDLE) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixServices::CloseServiceHandle(SC_HANDLE) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

HANDLE PosixProcess::GetCurrentProcess() {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
}

HMODULE PosixProcess::GetModuleHandleW(const char16_t*) {
  errors_.SetLastError(kErrorModNotFound);
  return nullptr;
}

ProcAddress PosixProcess::GetProcAddress(HMODULE, const char*) {
  errors_.SetLastError(kErrorProcNotFound);
  return nullptr;
}

BOOL PosixProcess::IsWow64Process(ProcAddress, HANDLE, BOOL*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixProcess::BlockInput(BOOL) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

}  // namespace os::posix

#include <cstdlib>

namespace os::posix {
namespace {
constexpr DWORD kNotImplemented = 120;  // ERROR_CALL_NOT_IMPLEMENTED
}  // namespace

BOOL PosixProcess::CreateProcessW(const char16_t*, char16_t*, void*, void*, BOOL, DWORD,
                                  void*, const char16_t*, StartupInfo*, ProcessInformation*) {
  errors_.SetLastError(kNotImplemented);
  return kFalse;
}

DWORD PosixProcess::WaitForSingleObject(HANDLE, DWORD) { return 0xFFFFFFFFu; }

BOOL PosixProcess::GetExitCodeProcess(HANDLE, DWORD*) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

DWORD PosixProcess::GetEnvironmentVariableW(const char16_t* name, char16_t* buffer, DWORD size) {
  std::string narrow;
  for (const char16_t* c = name; c != nullptr && *c != u'\0'; ++c) {
    narrow += static_cast<char>(*c < 0x80 ? *c : '?');
  }
  const char* value = std::getenv(narrow.c_str());
  if (value == nullptr) {
    errors_.SetLastError(203);  // ERROR_ENVVAR_NOT_FOUND
    return 0;
  }
  const auto length = static_cast<DWORD>(std::strlen(value));
  if (length + 1 > size) return length + 1;
  for (DWORD i = 0; i <= length; ++i) buffer[i] = static_cast<unsigned char>(value[i]);
  return length;
}

BOOL PosixProcess::Wow64DisableWow64FsRedirection(ProcAddress, void**) {
  errors_.SetLastError(kNotImplemented);
  return kFalse;
}

BOOL PosixProcess::Wow64RevertWow64FsRedirection(ProcAddress, void*) {
  errors_.SetLastError(kNotImplemented);
  return kFalse;
}

BOOL PosixProcess::CloseHandle(HANDLE) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

BOOL PosixShell::GetSystemPowerStatus(SystemPowerStatus*) {
  errors_.SetLastError(kNotImplemented);
  return kFalse;
}
BOOL PosixShell::OpenProcessToken(HANDLE, DWORD, HANDLE*) {
  errors_.SetLastError(kNotImplemented);
  return kFalse;
}
BOOL PosixShell::LookupPrivilegeValueW(const char16_t*, const char16_t*, Luid*) {
  errors_.SetLastError(kNotImplemented);
  return kFalse;
}
BOOL PosixShell::AdjustTokenPrivileges(HANDLE, BOOL, TokenPrivileges*, DWORD, TokenPrivileges*,
                                       DWORD*) {
  errors_.SetLastError(kNotImplemented);
  return kFalse;
}
BOOL PosixShell::ExitWindowsEx(UINT, DWORD) {
  errors_.SetLastError(kNotImplemented);
  return kFalse;
}
UINT PosixShell::GetSystemDirectoryW(char16_t*, UINT) {
  errors_.SetLastError(kNotImplemented);
  return 0;
}
BOOL PosixShell::CloseHandle(HANDLE) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}
int PosixShell::MessageBoxW(HWND, const char16_t*, const char16_t*, UINT) { return 0; }
LSTATUS PosixShell::RegOpenKeyExW(HKEY, const char16_t*, DWORD, DWORD, HKEY*) {
  return kErrorFileNotFound;
}
LSTATUS PosixShell::RegCreateKeyExW(HKEY, const char16_t*, DWORD, char16_t*, DWORD, DWORD,
                                    void*, HKEY*, DWORD*) {
  return kErrorAccessDenied;
}
LSTATUS PosixShell::RegQueryValueExW(HKEY, const char16_t*, DWORD*, DWORD*, std::uint8_t*,
                                     DWORD*) {
  return kErrorInvalidHandle;
}
LSTATUS PosixShell::RegSetValueExW(HKEY, const char16_t*, DWORD, DWORD, const std::uint8_t*,
                                   DWORD) {
  return kErrorInvalidHandle;
}
LSTATUS PosixShell::RegDeleteValueW(HKEY, const char16_t*) { return kErrorInvalidHandle; }
LSTATUS PosixShell::RegDeleteTreeW(HKEY, const char16_t*) { return kErrorInvalidHandle; }
LSTATUS PosixShell::RegCloseKey(HKEY) { return kErrorInvalidHandle; }
HDEVINFO PosixShell::SetupDiGetClassDevsW(const Guid*, const char16_t*, void*, DWORD) {
  errors_.SetLastError(kNotImplemented);
  return InvalidHandleValue();
}
BOOL PosixShell::SetupDiEnumDeviceInfo(HDEVINFO, DWORD, DevInfoData*) {
  errors_.SetLastError(kErrorNoMoreItems);
  return kFalse;
}
BOOL PosixShell::SetupDiGetDeviceRegistryPropertyW(HDEVINFO, DevInfoData*, DWORD, DWORD*,
                                                   std::uint8_t*, DWORD, DWORD*) {
  errors_.SetLastError(kNotImplemented);
  return kFalse;
}
BOOL PosixShell::SetupDiDestroyDeviceInfoList(HDEVINFO) { return kFalse; }

}  // namespace os::posix
