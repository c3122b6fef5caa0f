#include "update/image_check.h"

#include <vector>

#include "base/file.h"
#include "base/sha256.h"

namespace update {

std::optional<FileDigest> DigestFile(const std::u16string& path) {
  base::CFile file;
  if (!file.Open(path, base::CFile::modeRead | base::CFile::shareDenyWrite)) return std::nullopt;
  constexpr os::DWORD kChunk = 64 * 1024;
  std::vector<std::uint8_t> chunk(kChunk);
  base::Sha256 sha;
  FileDigest digest;
  for (;;) {
    os::DWORD read = 0;
    if (!file.Read(chunk.data(), kChunk, read)) return std::nullopt;
    if (read == 0) break;
    sha.Update(chunk.data(), read);
    digest.length += read;
  }
  digest.sha256 = base::ToHex(sha.Final());
  return digest;
}

}  // namespace update
