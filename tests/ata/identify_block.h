// Builds IDENTIFY DEVICE blocks for tests: words by number, ATA strings
// with their characters swapped into the word order drives use.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace tessel::test_support {

class IdentifyBlock {
 public:
  IdentifyBlock() : bytes_(512, 0) { bytes_[0] = 0x40; }
  // Words by number over the blank block.
  explicit IdentifyBlock(std::initializer_list<std::pair<int, std::uint16_t>> words)
      : IdentifyBlock() {
    for (auto [n, value] : words) Word(n, value);
  }

  IdentifyBlock& Word(int n, std::uint16_t value) {
    bytes_[2 * n] = value & 0xFF;
    bytes_[2 * n + 1] = value >> 8;
    return *this;
  }
  IdentifyBlock& Qword(int firstWord, std::uint64_t value) {
    for (int i = 0; i < 4; ++i) {
      Word(firstWord + i, static_cast<std::uint16_t>(value >> (16 * i)));
    }
    return *this;
  }
  // `text` padded with blanks to 2 * words characters.
  IdentifyBlock& Ata(int firstWord, int words, std::string text) {
    text.resize(2 * words, ' ');
    for (int k = 0; k < words; ++k) {
      bytes_[2 * (firstWord + k)] = static_cast<std::uint8_t>(text[2 * k + 1]);
      bytes_[2 * (firstWord + k) + 1] = static_cast<std::uint8_t>(text[2 * k]);
    }
    return *this;
  }
  IdentifyBlock& Serial(const std::string& s) { return Ata(10, 10, s); }
  IdentifyBlock& Firmware(const std::string& s) { return Ata(23, 4, s); }
  IdentifyBlock& Model(const std::string& s) { return Ata(27, 20, s); }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  operator std::vector<std::uint8_t>() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace tessel::test_support
