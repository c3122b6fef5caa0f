// The update package built into this program: one firmware image and the
// drive kinds and earlier revisions it may replace.
#pragma once

#include <cstdint>
#include <string_view>

namespace drives {

namespace package {

constexpr char16_t kFirmwareFile[] = u"vx7221.bin";
constexpr std::int32_t kFamilyId = 666;
constexpr std::int32_t kConfigId = 2445;
// The IDENTIFY firmware revision a drive runs once the image is active.
constexpr char16_t kFirmwareRevision[] = u"02.01P03";

// The length and SHA-256 (lowercase hex) of an image the package ships, as
// the build found them in the file it packaged.
struct ImageDigest {
  std::u16string_view firmwareFile;
  std::uint32_t length;
  std::string_view sha256;
};

// The digest of `firmwareFile` (compared without case, as Windows names
// files), or null for a file the package does not ship.
const ImageDigest* ExpectedImage(std::u16string_view firmwareFile);

struct PackageEntry {
  const char* basePattern;
  const char* suffixPattern;
  const char16_t* firmwareFile;
};

// Searched first: a drive that already runs the package's revisions.
inline constexpr PackageEntry kAlreadyUpdated[] = {
    {"02.01P02", ".30.3C.31P", nullptr},
};

inline constexpr PackageEntry kUpdates[] = {
    {"02.01P02", ".18.3C.19P", kFirmwareFile},
    {"02.01P02", ".1A.3C.1BP", kFirmwareFile},
};

}  // namespace package

// 0 when `value` matches `pattern` over their common length: "?" matches
// any character, "*" ends the comparison, letters compare without case.
int MatchPattern(const char* value, const char* pattern);

}  // namespace drives
