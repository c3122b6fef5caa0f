#include "base/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace base {
namespace {

std::string Digest(const std::string& message, std::size_t piece) {
  Sha256 sha;
  for (std::size_t at = 0; at < message.size(); at += piece) {
    const std::size_t take = std::min(piece, message.size() - at);
    sha.Update(reinterpret_cast<const std::uint8_t*>(message.data() + at), take);
  }
  return ToHex(sha.Final());
}

// The standard's examples and the usual long one, fed whole and in pieces
// that straddle the 64-byte blocks.
TEST(Sha256, StandardTestVectors) {
  struct Case {
    std::string message;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopq"
       "klmnopqrlmnopqrsmnopqrstnopqrstu",
       "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    for (std::size_t piece : {std::size_t{1000000}, std::size_t{1}, std::size_t{63}}) {
      if (piece == 1 && c.message.size() > 1000) continue;
      EXPECT_EQ(Digest(c.message, piece), c.digest) << c.message.size() << "/" << piece;
    }
  }
}

}  // namespace
}  // namespace base
