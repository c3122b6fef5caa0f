#include "update/multi_string.h"

#include <gtest/gtest.h>

#include <random>

#include "os/constants.h"
#include "os/fake/fake_system.h"

namespace update {
namespace {

MultiString ListOf(std::initializer_list<std::u16string> entries) {
  MultiString list;
  for (const auto& e : entries) {
    list.insert(list.end(), e.begin(), e.end());
    list.push_back(u'\0');
  }
  list.push_back(u'\0');
  return list;
}

TEST(MultiString, OurEntryEndsFirstAndOnlyOnce) {
  struct Case {
    MultiString before;
    MultiString after;
    int removed;
  } cases[] = {
      {ListOf({u"autocheck autochk *"}), ListOf({u"VLXFMNativeApp64", u"autocheck autochk *"}), 0},
      {ListOf({u"a", u"vlxfmnativeapp64", u"b"}), ListOf({u"VLXFMNativeApp64", u"a", u"b"}), 1},
      {ListOf({u"VLXFMNATIVEAPP64", u"a", u"VLXFMNativeApp64"}), ListOf({u"VLXFMNativeApp64", u"a"}), 2},
      {ListOf({u"VLXFMNativeApp32", u"VLXFMNativeApp640"}),
       ListOf({u"VLXFMNativeApp64", u"VLXFMNativeApp32", u"VLXFMNativeApp640"}), 0},
      {ListOf({}), ListOf({u"VLXFMNativeApp64"}), 0},
  };
  for (auto& c : cases) {
    update::MultiString list = c.before;
    EXPECT_EQ(update::RemoveMultiStringEntry(list, u"VLXFMNativeApp64"), c.removed);
    ASSERT_TRUE(update::PrependMultiStringEntry(u"VLXFMNativeApp64", list));
    EXPECT_EQ(list, c.after);
    EXPECT_EQ(update::MultiStringLength(list.data(), static_cast<std::uint32_t>(list.size())),
              list.size());
  }
}

TEST(MultiString, LengthCountsEveryNulAndStopsAtTheCapacity) {
  const MultiString empty = ListOf({});
  EXPECT_EQ(update::MultiStringLength(empty.data(), 1), 1u);
  const MultiString two = ListOf({u"ab", u"c"});
  EXPECT_EQ(update::MultiStringLength(two.data(), 6), 6u);
  const char16_t open[] = {u'a', u'b', u'c'};
  EXPECT_EQ(update::MultiStringLength(open, 3), 3u);
}

// Random lists: ours is removed wherever it stood, in any letter case,
// and nothing else moves.
TEST(MultiString, RemovalKeepsEveryOtherEntryInOrder) {
  std::mt19937 random(7221);
  const std::u16string names[] = {u"autocheck autochk *", u"VLXFMNativeApp64",
                                  u"vlxfmNATIVEapp64", u"other", u"VLXFMNativeApp32", u"x"};
  for (int round = 0; round < 500; ++round) {
    std::vector<std::u16string> entries;
    const int count = static_cast<int>(random() % 8);
    for (int i = 0; i < count; ++i) entries.push_back(names[random() % 6]);
    update::MultiString list;
    for (const auto& e : entries) {
      list.insert(list.end(), e.begin(), e.end());
      list.push_back(u'\0');
    }
    list.push_back(u'\0');
    std::vector<std::u16string> kept;
    int ours = 0;
    for (const auto& e : entries) {
      if (e == u"VLXFMNativeApp64" || e == u"vlxfmNATIVEapp64") {
        ++ours;
      } else {
        kept.push_back(e);
      }
    }
    EXPECT_EQ(update::RemoveMultiStringEntry(list, u"VLXFMNativeApp64"), ours);
    MultiString expected;
    for (const auto& e : kept) {
      expected.insert(expected.end(), e.begin(), e.end());
      expected.push_back(u'\0');
    }
    expected.push_back(u'\0');
    ASSERT_EQ(list, expected);
  }
}

TEST(BootExecute, QueryRefusesWhatIsNotAWellFormedList) {
  os::fake::ScopedFakeSystem fake;
  const std::u16string path = u"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
  auto put = [&](os::DWORD type, std::vector<std::uint8_t> bytes) {
    fake.registry.SetValue(os::HkeyLocalMachine(), path, u"BootExecute", type, std::move(bytes));
  };
  auto query = [&](std::uint32_t capacity) {
    os::HKEY key = nullptr;
    fake.registry.RegOpenKeyExW(os::HkeyLocalMachine(), path.c_str(), 0, os::kKeyRead, &key);
    std::vector<char16_t> buffer(2048, u'\0');
    std::uint32_t length = 0;
    const os::LSTATUS status = update::QueryBootExecute(key, buffer.data(), capacity, length);
    fake.registry.RegCloseKey(key);
    return status;
  };
  put(os::kRegMultiSz, {'a', 0, 0, 0, 0, 0});
  EXPECT_EQ(query(2048), 0);
  EXPECT_EQ(query(1), static_cast<os::LSTATUS>(os::kErrorInsufficientBuffer));
  put(os::kRegSz, {'a', 0, 0, 0, 0, 0});
  EXPECT_EQ(query(2048), 13);
  put(os::kRegMultiSz, {'a', 0, 0, 0, 0});
  EXPECT_EQ(query(2048), 13);
  put(os::kRegMultiSz, {});
  EXPECT_EQ(query(2048), 13);
  put(os::kRegMultiSz, {'a', 0, 'b', 0});
  EXPECT_EQ(query(2048), 13);
  put(os::kRegMultiSz, std::vector<std::uint8_t>(4098, 0));
  EXPECT_EQ(query(2048), static_cast<os::LSTATUS>(os::kErrorMoreData));
}

}  // namespace
}  // namespace update
