#include "drives/update_package.h"

#include <cctype>

#include "drives/package_image.h"
#include "os/ascii_case.h"

namespace drives {

namespace package {

const ImageDigest* ExpectedImage(std::u16string_view firmwareFile) {
  static constexpr ImageDigest kImages[] = {
      {built::kImageFile, built::kImageLength, built::kImageSha256},
  };
  for (const ImageDigest& image : kImages) {
    if (os::AsciiLower(std::u16string(firmwareFile)) ==
        os::AsciiLower(std::u16string(image.firmwareFile))) {
      return &image;
    }
  }
  return nullptr;
}

}  // namespace package

int MatchPattern(const char* value, const char* pattern) {
  int result = 0;
  while (*value != '\0' && *pattern != '\0' && result == 0 && *pattern != '*') {
    if (*pattern != '?') {
      result = std::toupper(static_cast<unsigned char>(*value)) -
               std::toupper(static_cast<unsigned char>(*pattern));
    }
    ++value;
    ++pattern;
  }
  return result;
}

}  // namespace drives
