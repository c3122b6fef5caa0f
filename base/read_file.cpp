#include "base/read_file.h"

#include "os/constants.h"
#include "os/scoped_handle.h"

namespace base {
std::optional<std::vector<std::uint8_t>> ReadWholeFile(
    const std::u16string& path, std::size_t limit, os::DWORD& error) {
  auto& files = os::Sys().files;
  os::UniqueFileHandle file(files.CreateFileW(
      path.c_str(), os::kGenericRead, os::kFileShareRead, nullptr,
      os::kOpenExisting, os::kFileAttributeNormal, nullptr));
  if (!file.IsValid()) {
    error = os::Sys().errors.GetLastError();
    return std::nullopt;
  }
  std::vector<std::uint8_t> contents;
  std::uint8_t chunk[4096];
  for (;;) {
    os::DWORD read = 0;
    if (!files.ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr)) {
      error = os::Sys().errors.GetLastError();
      return std::nullopt;
    }
    if (read == 0) return contents;
    if (contents.size() + read > limit) {
      error = os::kErrorFileTooLarge;
      return std::nullopt;
    }
    contents.insert(contents.end(), chunk, chunk + read);
  }
}

}  // namespace base
