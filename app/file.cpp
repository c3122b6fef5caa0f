#include "app/file.h"

#include "os/constants.h"

namespace app {
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
    if (error != nullptr) *error = os::Sys().errors.GetLastError();
    return false;
  }
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

}  // namespace app
