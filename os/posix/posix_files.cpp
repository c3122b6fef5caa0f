#include "os/posix/posix_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "os/constants.h"

namespace os::posix {
namespace {

// Handles are file descriptors moved clear of NULL. Each open handle
// remembers the file it names and how it was opened, so that sharing and
// access are judged as Windows judges them.
constexpr std::intptr_t kHandleBias = 0x10000;

FileHandle HandleOf(int fd) { return reinterpret_cast<FileHandle>(fd + kHandleBias); }

int FdOf(FileHandle handle) {
  const auto value = reinterpret_cast<std::intptr_t>(handle);
  return value < kHandleBias ? -1 : static_cast<int>(value - kHandleBias);
}

struct FileId {
  dev_t device;
  ino_t inode;
  bool operator==(const FileId&) const = default;
};

struct OpenFile {
  FileId id;
  DWORD access;
  DWORD share;
};

class OpenFiles {
 public:
  // Whether an open with `access` and `share` may join the opens of `id`.
  bool SharingAllows(const FileId& id, DWORD access, DWORD share) const {
    std::lock_guard lock(mutex_);
    for (const auto& [fd, open] : files_) {
      if (!(open.id == id)) continue;
      if (!Allows(open.share, access) || !Allows(share, open.access)) return false;
    }
    return true;
  }
  void Add(int fd, OpenFile file) {
    std::lock_guard lock(mutex_);
    files_[fd] = file;
  }
  std::optional<OpenFile> Find(int fd) const {
    std::lock_guard lock(mutex_);
    auto it = files_.find(fd);
    if (it == files_.end()) return std::nullopt;
    return it->second;
  }
  bool Remove(int fd) {
    std::lock_guard lock(mutex_);
    return files_.erase(fd) != 0;
  }

 private:
  // `share` lets an access of `access` in.
  static bool Allows(DWORD share, DWORD access) {
    return (!(access & kGenericRead) || (share & kFileShareRead)) &&
           (!(access & kGenericWrite) || (share & kFileShareWrite));
  }
  mutable std::mutex mutex_;
  std::map<int, OpenFile> files_;
};

// Never destroyed: files are closed by static destructors (the log's)
// until the process ends.
OpenFiles& Opened() {
  static OpenFiles* const files = new OpenFiles;
  return *files;
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

std::optional<FileId> IdOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileId{info.st_dev, info.st_ino};
}

// A name whose folder is missing is "path not found", as on Windows.
DWORD MissingNameError(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return kErrorFileNotFound;
  struct stat info {};
  return stat(path.substr(0, slash).c_str(), &info) == 0 ? kErrorFileNotFound
                                                          : kErrorPathNotFound;
}

// How long the root of `path` is: "C:\", "\\server\share", "\" or "/".
std::size_t RootLength(const char16_t* path, std::size_t length) {
  if (length >= 3 && path[1] == u':' && IsSeparator(path[2])) return 3;
  if (length >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    std::size_t separators = 0;
    for (std::size_t i = 2; i < length; ++i) {
      if (IsSeparator(path[i]) && ++separators == 2) return i;
    }
    return length;
  }
  return length >= 1 && IsSeparator(path[0]) ? 1 : 0;
}

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

// As shlwapi: the last element goes, the root stays.
BOOL PosixFiles::PathRemoveFileSpecW(char16_t* path) {
  if (path == nullptr) return kFalse;
  std::size_t length = 0;
  std::size_t last = std::u16string::npos;
  for (; path[length] != u'\0'; ++length) {
    if (IsSeparator(path[length])) last = length;
  }
  if (last == std::u16string::npos) {
    path[0] = u'\0';
    return length != 0 ? kTrue : kFalse;
  }
  const std::size_t root = RootLength(path, length);
  const std::size_t cut = last < root ? root : last;
  if (cut >= length) return kFalse;
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
                                   DWORD shareMode, void*, DWORD creationDisposition,
                                   DWORD flagsAndAttributes, FileHandle) {
  if (name == nullptr) {
    errors_.SetLastError(kErrorInvalidParameter);
    return InvalidHandleValue();
  }
  const std::string path = NativePath(name);
  const std::optional<FileId> existing = IdOf(path);
  // Judged before the open, which may create or truncate the file.
  if (existing && !Opened().SharingAllows(*existing, desiredAccess, shareMode)) {
    errors_.SetLastError(kErrorSharingViolation);
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
  const int fd = open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) {
    const int error = errno;
    errors_.SetLastError(error == ENOENT ? MissingNameError(path) : Win32ErrorOf(error));
    return InvalidHandleValue();
  }
  struct stat info {};
  fstat(fd, &info);
  Opened().Add(fd, OpenFile{FileId{info.st_dev, info.st_ino}, desiredAccess, shareMode});
  // Opening or replacing a file that was there says so.
  const bool reportsExisting =
      creationDisposition == kOpenAlways || creationDisposition == kCreateAlways;
  errors_.SetLastError(existing && reportsExisting ? kErrorAlreadyExists : kErrorSuccess);
  return HandleOf(fd);
}

BOOL PosixFiles::ReadFile(FileHandle file, void* buffer, DWORD bytesToRead,
                          DWORD* bytesRead, void*) {
  if (bytesRead != nullptr) *bytesRead = 0;
  if (auto refused = Refuse(file, kGenericRead)) return *refused;
  const ssize_t count = read(FdOf(file), buffer, bytesToRead);
  if (count < 0) return FailWithErrno();
  if (bytesRead != nullptr) *bytesRead = static_cast<DWORD>(count);
  return kTrue;
}

BOOL PosixFiles::WriteFile(FileHandle file, const void* buffer, DWORD bytesToWrite,
                           DWORD* bytesWritten, void*) {
  if (bytesWritten != nullptr) *bytesWritten = 0;
  if (auto refused = Refuse(file, kGenericWrite)) return *refused;
  const ssize_t count = write(FdOf(file), buffer, bytesToWrite);
  if (count < 0) return FailWithErrno();
  if (bytesWritten != nullptr) *bytesWritten = static_cast<DWORD>(count);
  return kTrue;
}

BOOL PosixFiles::SetFilePointerEx(FileHandle file, std::int64_t distanceToMove,
                                  std::int64_t* newFilePointer, DWORD moveMethod) {
  if (auto refused = Refuse(file, 0)) return *refused;
  const int fd = FdOf(file);
  struct stat info {};
  std::int64_t from = 0;
  if (moveMethod == kFileCurrent) from = lseek(fd, 0, SEEK_CUR);
  if (moveMethod == kFileEnd) from = fstat(fd, &info) == 0 ? info.st_size : -1;
  if (from < 0) return FailWithErrno();
  if (from + distanceToMove < 0) {
    errors_.SetLastError(kErrorNegativeSeek);
    return kFalse;
  }
  const off_t position = lseek(fd, from + distanceToMove, SEEK_SET);
  if (position < 0) return FailWithErrno();
  if (newFilePointer != nullptr) *newFilePointer = position;
  return kTrue;
}

BOOL PosixFiles::GetFileSizeEx(FileHandle file, std::int64_t* size) {
  if (auto refused = Refuse(file, 0)) return *refused;
  struct stat info {};
  if (fstat(FdOf(file), &info) != 0) return FailWithErrno();
  if (size != nullptr) *size = info.st_size;
  return kTrue;
}

BOOL PosixFiles::CopyFileW(const char16_t* existing, const char16_t* newFile,
                           BOOL failIfExists) {
  if (existing == nullptr || newFile == nullptr) {
    errors_.SetLastError(kErrorInvalidParameter);
    return kFalse;
  }
  const FileHandle source = CreateFileW(existing, kGenericRead, kFileShareRead, nullptr,
                                        kOpenExisting, kFileAttributeNormal, nullptr);
  if (source == InvalidHandleValue()) return kFalse;
  const FileHandle target =
      CreateFileW(newFile, kGenericWrite, 0, nullptr, failIfExists ? kCreateNew : kCreateAlways,
                  kFileAttributeNormal, nullptr);
  if (target == InvalidHandleValue()) {
    const DWORD error = errors_.GetLastError();
    CloseHandle(source);
    errors_.SetLastError(error);
    return kFalse;
  }
  char chunk[65536];
  // A read that fails is a failed copy, as a write that fails is.
  BOOL ok = kTrue;
  for (DWORD read = 0; ok;) {
    ok = ReadFile(source, chunk, sizeof chunk, &read, nullptr);
    if (!ok || read == 0) break;
    DWORD written = 0;
    ok = WriteFile(target, chunk, read, &written, nullptr) && written == read;
  }
  const DWORD error = errors_.GetLastError();
  CloseHandle(target);
  CloseHandle(source);
  errors_.SetLastError(ok ? kErrorSuccess : error);
  return ok;
}

BOOL PosixFiles::DeleteFileW(const char16_t* name) {
  if (name == nullptr) return kFalse;
  return unlink(NativePath(name).c_str()) == 0 ? kTrue : FailWithErrno();
}

BOOL PosixFiles::CloseHandle(FileHandle object) {
  const int fd = FdOf(object);
  if (fd < 0 || !Opened().Remove(fd)) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  return close(fd) == 0 ? kTrue : FailWithErrno();
}

// Unknown handles are invalid; a handle used for what it was not opened
// for is denied.
std::optional<BOOL> PosixFiles::Refuse(FileHandle file, DWORD access) {
  const std::optional<OpenFile> open = Opened().Find(FdOf(file));
  if (!open) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  if ((open->access & access) != access) {
    errors_.SetLastError(kErrorAccessDenied);
    return kFalse;
  }
  return std::nullopt;
}

}  // namespace os::posix
