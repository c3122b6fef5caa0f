// PNG files of screen captures: 24-bit RGB, deflate in stored blocks, so
// no compression library is needed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tour {

// `rgb` holds width * height pixels, three bytes each, top row first.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace tour
