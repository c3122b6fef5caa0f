#include "base/file.h"

#include "os/constants.h"

namespace base {
namespace {

os::DWORD AccessOf(std::uint32_t flags) {
  switch (flags & 0x3) {
    case CFile::modeWrite:
      return os::kGenericWrite;
    case CFile::modeReadWrite:
      return os::kGenericRead | os::kGenericWrite;
    default:
      return os::kGenericRead;
  }
}

os::DWORD ShareOf(std::uint32_t flags) {
  switch (flags & 0x70) {
    case CFile::shareDenyWrite:
      return os::kFileShareRead;
    case CFile::shareDenyRead:
      return os::kFileShareWrite;
    case CFile::shareDenyNone:
      return os::kFileShareRead | os::kFileShareWrite;
    default:
      return 0;
  }
}

os::DWORD DispositionOf(std::uint32_t flags) {
  if (!(flags & CFile::modeCreate)) return os::kOpenExisting;
  return (flags & CFile::modeNoTruncate) ? os::kOpenAlways : os::kCreateAlways;
}

}  // namespace

FileCause CauseOf(os::DWORD error) {
  switch (error) {
    case 0: return FileCause::none;
    case 2: return FileCause::fileNotFound;
    case 3: case 15: case 123: case 161: return FileCause::badPath;
    case 4: return FileCause::tooManyOpenFiles;
    case 5: case 19: return FileCause::accessDenied;
    case 6: return FileCause::invalidFile;
    case 16: return FileCause::removeCurrentDir;
    case 18: return FileCause::directoryFull;
    case 25: case 131: return FileCause::badSeek;
    case 23: case 29: case 30: case 1117: return FileCause::hardIO;
    case 32: return FileCause::sharingViolation;
    case 33: return FileCause::lockViolation;
    case 39: case 112: return FileCause::diskFull;
    case 38: return FileCause::endOfFile;
    default: return FileCause::genericException;
  }
}

bool CFile::Open(const std::u16string& path, std::uint32_t flags,
                 os::DWORD* error) {
  Close();
  auto& files = os::Sys().files;
  const os::DWORD attributes =
      os::kFileAttributeNormal |
      ((flags & osWriteThrough) ? os::kFileFlagWriteThrough : 0);
  handle_.Reset(files.CreateFileW(path.c_str(), AccessOf(flags),
                                  ShareOf(flags), nullptr,
                                  DispositionOf(flags), attributes, nullptr));
  if (!handle_.IsValid()) {
    const os::DWORD code = os::Sys().errors.GetLastError();
    openCause_ = CauseOf(code);
    if (error != nullptr) *error = code;
    return false;
  }
  openCause_ = FileCause::none;
  return true;
}

bool CFile::Read(void* buffer, os::DWORD size, os::DWORD& read) {
  read = 0;
  if (!IsOpen()) return false;
  return os::Sys().files.ReadFile(handle_.Get(), buffer, size, &read, nullptr) != os::kFalse;
}

bool CFile::GetLength(std::uint64_t& length) {
  if (!IsOpen()) return false;
  std::int64_t size = 0;
  if (!os::Sys().files.GetFileSizeEx(handle_.Get(), &size) || size < 0) return false;
  length = static_cast<std::uint64_t>(size);
  return true;
}

bool CFile::Write(const void* data, os::DWORD size) {
  if (!IsOpen()) return false;
  os::DWORD written = 0;
  return os::Sys().files.WriteFile(handle_.Get(), data, size, &written,
                                   nullptr) != os::kFalse &&
         written == size;
}

bool CFile::SeekToEnd() {
  if (!IsOpen()) return false;
  std::int64_t position = 0;
  return os::Sys().files.SetFilePointerEx(handle_.Get(), 0, &position,
                                          os::kFileEnd) != os::kFalse;
}

}  // namespace base
