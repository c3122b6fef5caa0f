#include "ata/fields.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "ata/exception.h"

namespace tessel {
namespace {

void ExpectOutOfBounds(const std::function<void()>& call) {
  try {
    call();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.code(), ErrorInvalidArgument);
    EXPECT_EQ(e.message(), "Offset out of bounds");
    EXPECT_EQ(e.detail(), 0);
  }
}

TEST(Fields, ReadersAssembleLittleEndianInsideTheBuffer) {
  const std::uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
  EXPECT_EQ(GetByte(bytes, 9, 8), 0x09);
  EXPECT_EQ(GetWord(bytes, 9, 0), 0x0201);
  EXPECT_EQ(GetDword(bytes, 9, 1), 0x05040302u);
  EXPECT_EQ(GetQword(bytes, 9, 1), 0x0908070605040302ull);  // size - 8
}

TEST(Fields, ReadersRefuseAnyByteOutsideTheBuffer) {
  const std::uint8_t bytes[4] = {};
  ExpectOutOfBounds([&] { GetByte(bytes, 4, 4); });
  ExpectOutOfBounds([&] { GetWord(bytes, 4, 3); });
  ExpectOutOfBounds([&] { GetDword(bytes, 4, 1); });
  ExpectOutOfBounds([&] { GetQword(bytes, 4, 0); });
  ExpectOutOfBounds([&] { GetWord(bytes, 4, 0xFFFFFFFFu); });
  ExpectOutOfBounds([&] { GetByte(nullptr, 4, 0); });
}

TEST(Fields, PutQwordStopsAtTheEndOfTheBlock) {
  std::array<std::uint8_t, 512> block{};
  PutQword(block.data(), 504, 0x1122334455667788ull);
  EXPECT_EQ(block[504], 0x88);
  EXPECT_EQ(block[511], 0x11);
  block.fill(0);
  ExpectOutOfBounds([&] { PutQword(block.data(), 508, 0x1122334455667788ull); });
  EXPECT_EQ(block[507], 0x00);
  EXPECT_EQ(block[508], 0x88);
  EXPECT_EQ(block[511], 0x55);
}

TEST(CommandFailure, StatusBitsAndErrorRegister) {
  struct Case {
    std::uint8_t status;
    std::uint16_t error;
    bool failed;
  } cases[] = {{0x50, 0, false}, {0x51, 0, true},  {0x58, 0, true},
               {0xD0, 0, true},  {0x50, 4, true},  {0x20, 0, false},
               {0x02, 0, false}, {0x50, 0x0400, false}};
  for (const auto& c : cases) {
    Taskfile t{};
    t.outStatus = c.status;
    t.outError = c.error;
    EXPECT_EQ(IsCommandFailure(t), c.failed) << std::hex << int(c.status);
  }
}

TEST(Exceptions, AnAtaExceptionIsCaughtAsTheBaseWithItsStep) {
  Taskfile failing{};
  failing.outStatus = 0x51;
  try {
    throw AtaException(failing, "read phy params");
  } catch (const Exception& e) {
    EXPECT_EQ(e.code(), 0x20005u);
    EXPECT_EQ(e.message(), "read phy params");
    EXPECT_EQ(e.detail(), 0);
    const auto* ata = dynamic_cast<const AtaException*>(&e);
    ASSERT_NE(ata, nullptr);
    EXPECT_EQ(ata->operation(), "read phy params");
    EXPECT_EQ(+ata->taskfile().outStatus, 0x51);
  }
}

}  // namespace
}  // namespace tessel
