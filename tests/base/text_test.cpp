#include "base/text.h"

#include <gtest/gtest.h>

#include "os/fake/fake_system.h"

namespace base {
namespace {

TEST(Text, WidenAndNarrowUseTheAnsiCodePage) {
  os::fake::ScopedFakeSystem fake;
  EXPECT_EQ(Widen("VX\xE9"), u"VX\u00E9");
  EXPECT_EQ(Narrow(u"VX\u20AC"), "VX\x80");
  EXPECT_EQ(Widen(""), u"");
  fake.faults.Fail("text", "MultiByteToWideChar", 87);
  EXPECT_EQ(Widen("abc"), u"");
}

TEST(Text, TrimWhiteSpaceTakesTheCLibrarysWhiteSpace) {
  struct Case {
    std::u16string in;
    std::u16string white;
  } cases[] = {
      {u"  VX7221  ", u"VX7221"}, {u"\tVX 72\r\n", u"VX 72"}, {u"    ", u""},
      {u"", u""},                 {u" \v\fa\f ", u"a"},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimWhiteSpace(c.in), c.white);
}

}  // namespace
}  // namespace base
