#include "os/posix/posix_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "os/constants.h"

namespace os::posix {
namespace {

// Handles are file descriptors moved clear of NULL.
constexpr std::intptr_t kHandleBias = 0x10000;

FileHandle HandleOf(int fd) { return reinterpret_cast<FileHandle>(fd + kHandleBias); }

int FdOf(FileHandle handle) {
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

UINT PosixFiles::GetSystemDirectoryW(char16_t*, UINT) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return 0;
}

FileHandle PosixFiles::CreateFileW(const char16_t* name, DWORD desiredAccess,
                               DWORD, void*, DWORD creationDisposition,
                               DWORD flagsAndAttributes, FileHandle) {
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

BOOL PosixFiles::ReadFile(FileHandle file, void* buffer, DWORD bytesToRead,
                          DWORD* bytesRead, void*) {
  if (bytesRead != nullptr) *bytesRead = 0;
  const ssize_t count = read(FdOf(file), buffer, bytesToRead);
  if (count < 0) return FailWithErrno();
  if (bytesRead != nullptr) *bytesRead = static_cast<DWORD>(count);
  return kTrue;
}

BOOL PosixFiles::WriteFile(FileHandle file, const void* buffer, DWORD bytesToWrite,
                           DWORD* bytesWritten, void*) {
  if (bytesWritten != nullptr) *bytesWritten = 0;
  const ssize_t count = write(FdOf(file), buffer, bytesToWrite);
  if (count < 0) return FailWithErrno();
  if (bytesWritten != nullptr) *bytesWritten = static_cast<DWORD>(count);
  return kTrue;
}

BOOL PosixFiles::SetFilePointerEx(FileHandle file, std::int64_t distanceToMove,
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

BOOL PosixFiles::GetFileSizeEx(FileHandle file, std::int64_t* size) {
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

BOOL PosixFiles::CloseHandle(FileHandle object) {
  return close(FdOf(object)) == 0 ? kTrue : FailWithErrno();
}

}  // namespace os::posix
