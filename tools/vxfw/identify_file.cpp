#include "tools/vxfw/identify_file.h"

#include <cstring>

namespace vxfw {
namespace {

constexpr std::size_t kWords = 256;
constexpr std::size_t kDigitsPerWord = 4;

int HexValue(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<IdentifyBytes> ParseIdentifyFile(
    const std::vector<std::uint8_t>& contents, std::string& error) {
  IdentifyBytes block{};
  if (contents.size() == block.size()) {
    std::memcpy(block.data(), contents.data(), block.size());
    return block;
  }
  std::size_t words = 0;
  std::size_t i = 0;
  while (i < contents.size()) {
    if (HexValue(contents[i]) < 0) {
      ++i;
      continue;
    }
    std::uint32_t value = 0;
    std::size_t digits = 0;
    for (; i < contents.size() && HexValue(contents[i]) >= 0; ++i, ++digits) {
      value = (value << 4 | static_cast<std::uint32_t>(HexValue(contents[i]))) & 0xFFFF;
    }
    if (digits != kDigitsPerWord) {
      error = "word " + std::to_string(words) + " has " +
              std::to_string(digits) + " hex digits, not 4";
      return std::nullopt;
    }
    if (words == kWords) {
      error = "more than 256 words";
      return std::nullopt;
    }
    block[2 * words] = value & 0xFF;
    block[2 * words + 1] = static_cast<std::uint8_t>(value >> 8);
    ++words;
  }
  if (words != kWords) {
    error = "neither 512 bytes nor 256 hex words (" + std::to_string(contents.size()) +
            " bytes, " + std::to_string(words) + " words)";
    return std::nullopt;
  }
  return block;
}

}  // namespace vxfw
