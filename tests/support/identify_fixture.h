// The IDENTIFY blocks under tests/fixtures/: 256 words of 4 hex digits,
// word 0 first, as disk tools print them.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

// Empty (all zero) when the file is missing or short; the tests that read
// one check its first word.
inline std::array<std::uint8_t, 512> ReadIdentifyFixture(const std::string& name) {
  std::array<std::uint8_t, 512> block{};
  std::ifstream in(std::string(VX_SOURCE_DIR) + "/tests/fixtures/" + name);
  std::string word;
  for (std::size_t n = 0; n < 256 && in >> word; ++n) {
    const auto value = static_cast<std::uint16_t>(std::stoul(word, nullptr, 16));
    block[2 * n] = value & 0xFF;
    block[2 * n + 1] = value >> 8;
  }
  return block;
}

}  // namespace testing_support
