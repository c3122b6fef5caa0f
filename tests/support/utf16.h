// The UTF-16LE text of a file's bytes, as the log writes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

inline std::u16string Utf16Of(const std::vector<std::uint8_t>& bytes) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
  }
  return text;
}

}  // namespace testing_support
