// A file object in the manner of the application framework's: opened with
// the framework's mode flags, which it turns into CreateFileW arguments,
// and closed by its destructor. It never throws; Open reports the Win32
// error of a failed open.
#pragma once

#include <cstdint>
#include <string>

#include "os/scoped_handle.h"

namespace base {

// Why a file operation failed, numbered as the application framework's
// file exception numbers its causes.
enum class FileCause : int {
  none = 0,
  genericException = 1,
  fileNotFound = 2,
  badPath = 3,
  tooManyOpenFiles = 4,
  accessDenied = 5,
  invalidFile = 6,
  removeCurrentDir = 7,
  directoryFull = 8,
  badSeek = 9,
  hardIO = 10,
  sharingViolation = 11,
  lockViolation = 12,
  diskFull = 13,
  endOfFile = 14,
};

// The cause for the Win32 error of a failed call.
FileCause CauseOf(os::DWORD win32Error);

class CFile {
 public:
  // The framework's open flags, with its values.
  enum OpenFlags : std::uint32_t {
    modeRead = 0x0,
    modeWrite = 0x1,
    modeReadWrite = 0x2,
    shareExclusive = 0x10,
    shareDenyWrite = 0x20,
    shareDenyRead = 0x30,
    shareDenyNone = 0x40,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    osWriteThrough = 0x20000,
  };

  CFile() = default;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // False when the file could not be opened; `error`, when given, then holds
  // the last error of the failed call.
  bool Open(const std::u16string& path, std::uint32_t flags,
            os::DWORD* error = nullptr);
  bool IsOpen() const { return handle_.IsValid(); }

  // The cause of the last failed open (none after a successful one).
  FileCause openCause() const { return openCause_; }

  // One WriteFile call for the whole block.
  bool Write(const void* data, os::DWORD size);
  // Up to `size` bytes; false when the read itself fails.
  bool Read(void* buffer, os::DWORD size, os::DWORD& read);
  // The file's length, or false.
  bool GetLength(std::uint64_t& length);
  bool SeekToEnd();
  void Close() { handle_.Reset(); }

 private:
  os::UniqueFileHandle handle_;
  FileCause openCause_ = FileCause::none;
};

}  // namespace base
