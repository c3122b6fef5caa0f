// The package's image, checked before the driver is loaded: read once
// from the disk, its length and SHA-256 compared with what the build found
// in the file it packaged. A file cut short or damaged on its way to the
// user's disk is never handed to a drive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace update {

struct FileDigest {
  std::uint64_t length = 0;
  std::string sha256;  // lowercase hex
};

// The length and SHA-256 of the file at `path`, read to its end; none when
// it cannot be opened or read.
std::optional<FileDigest> DigestFile(const std::u16string& path);

}  // namespace update
