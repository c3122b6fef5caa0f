// SHA-256 (FIPS 180-4), fed in pieces: the package's image is checked with
// it before any drive sees the image. Our own, because one digest does not
// warrant a crypto library in a static executable, and the same code then
// runs on every build.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace base {

class Sha256 {
 public:
  using Digest = std::array<std::uint8_t, 32>;

  Sha256();
  void Update(const std::uint8_t* data, std::size_t size);
  // The digest of everything fed so far; the object is spent afterwards.
  Digest Final();

 private:
  void Compress(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> block_{};
  std::size_t used_ = 0;       // bytes waiting in block_
  std::uint64_t length_ = 0;   // bytes fed in all
};

// Lowercase hexadecimal, two digits a byte.
std::string ToHex(const Sha256::Digest& digest);

}  // namespace base
