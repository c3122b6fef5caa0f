#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

class ResourcesContract : public ContractTest {};

TEST_P(ResourcesContract, StringTableEntriesLoadAndACutOneEndsInNul) {
  char16_t text[64] = {};
  EXPECT_EQ(sys().resources.LoadStringW(nullptr, 129, text, 64), 36);
  EXPECT_EQ(std::u16string(text), u"This drive qualifies for the update.");
  EXPECT_EQ(sys().resources.LoadStringW(nullptr, 129, text, 5), 4);
  EXPECT_EQ(std::u16string(text), u"This");
  EXPECT_EQ(sys().resources.LoadStringW(nullptr, 4242, text, 64), 0);
}

VX_CONTRACT_FOR_WHOLE_SYSTEMS(ResourcesContract);

}  // namespace
}  // namespace contract
