#include <string>

#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

class TextContract : public ContractTest {};

TEST_P(TextContract, AnsiBytesWidenThroughCodePage1252) {
  const char bytes[] = "A\xE9\x80\x9F";
  char16_t wide[8] = {};
  const int count = sys().text.MultiByteToWideChar(os::kCpThreadAcp, 0, bytes,
                                                   -1, wide, 8);
  ASSERT_EQ(count, 5);  // with the terminating NUL
  EXPECT_EQ(std::u16string(wide), u"A\u00E9\u20AC\u0178");
  EXPECT_EQ(sys().text.MultiByteToWideChar(os::kCpThreadAcp, 0, bytes, 4,
                                           nullptr, 0),
            4);
  EXPECT_EQ(sys().text.MultiByteToWideChar(os::kCpThreadAcp, 0, bytes, 4, wide,
                                           2),
            0);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorInsufficientBuffer);
}

TEST_P(TextContract, UnmappableUnitsNarrowToTheDefaultCharacter) {
  const char16_t wide[] = u"\u00E9\u20AC\u4E2D";
  char bytes[8] = {};
  os::BOOL usedDefault = os::kFalse;
  const int count = sys().text.WideCharToMultiByte(
      os::kCpThreadAcp, 0, wide, 3, bytes, 8, nullptr, &usedDefault);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(std::string(bytes, 3), "\xE9\x80?");
  EXPECT_EQ(usedDefault, os::kTrue);
  EXPECT_EQ(sys().text.WideCharToMultiByte(os::kCpThreadAcp, 0, wide, 2,
                                           nullptr, 0, nullptr, nullptr),
            2);
}

VX_CONTRACT_FOR_FILE_AND_TEXT_SYSTEMS(TextContract);

}  // namespace
}  // namespace contract
