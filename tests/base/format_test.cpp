#include "base/format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace base {
namespace {

// What the compiler accepts and refuses: FormatString runs this same check
// in its consteval constructor, so a refused pair does not build.
static_assert(FormatAccepts<int>(u"%d"));
static_assert(FormatAccepts<std::uint32_t>(u"0x%x"));
static_assert(FormatAccepts<std::uint8_t>(u"%X"));
static_assert(FormatAccepts<std::uint64_t>(u"%I64X"));
static_assert(FormatAccepts<std::u16string, const char16_t*>(u"%s %s"));
static_assert(FormatAccepts<>(u"100%% done"));
static_assert(!FormatAccepts<std::uint64_t>(u"%x"));
static_assert(!FormatAccepts<std::uint32_t>(u"%I64X"));
static_assert(!FormatAccepts<int>(u"%s"));
static_assert(!FormatAccepts<std::string>(u"%s"));
static_assert(!FormatAccepts<const char*>(u"%s"));
static_assert(!FormatAccepts<bool>(u"%d"));
static_assert(!FormatAccepts<>(u"%d"));
static_assert(!FormatAccepts<int, int>(u"%d"));
static_assert(!FormatAccepts<int>(u"%ld"));
static_assert(!FormatAccepts<>(u"trailing %"));

TEST(Format, RendersEachConversion) {
  EXPECT_EQ(Format(u"ACLineStatus = 0x%x", 255), u"ACLineStatus = 0xff");
  EXPECT_EQ(Format(u"%d of %d", 2, 3), u"2 of 3");
  EXPECT_EQ(Format(u"%d", -263), u"-263");
  EXPECT_EQ(Format(u"%d", INT32_MIN), u"-2147483648");
  EXPECT_EQ(Format(u"%u", 0xFFFFFFFFu), u"4294967295");
  EXPECT_EQ(Format(u"0x%x", 0xFFFFF003u), u"0xfffff003");
  EXPECT_EQ(Format(u"%X", 0xABCu), u"ABC");
  EXPECT_EQ(Format(u"%x", 0), u"0");
  EXPECT_EQ(Format(u"%I64X", std::uint64_t{0x5000CCA22B3FE1A9}),
            u"5000CCA22B3FE1A9");
  EXPECT_EQ(Format(u"%I64X", std::uint64_t{0}), u"0");
  EXPECT_EQ(Format(u"%d%%", 42), u"42%");
  EXPECT_EQ(Format(u"[%s]", std::u16string(u"Drive")), u"[Drive]");
  EXPECT_EQ(Format(u"[%s]", static_cast<const char16_t*>(nullptr)),
            u"[(null)]");
}

TEST(Format, SignedValuesUnderHexShowTheirBitsAsPrintfDoes) {
  EXPECT_EQ(Format(u"%x", -1), u"ffffffff");
  EXPECT_EQ(Format(u"%x", std::int16_t{-2}), u"fffffffe");
  EXPECT_EQ(Format(u"%d", 0xFFFFFFFFu), u"-1");
}

}  // namespace
}  // namespace base
