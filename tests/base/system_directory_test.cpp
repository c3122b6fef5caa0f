#include "base/system_directory.h"

#include <gtest/gtest.h>

#include "os/fake/fake_system.h"

namespace base {
namespace {

TEST(SystemDirectory, ComesWithoutTrailingBackslash) {
  os::fake::ScopedFakeSystem fake;
  std::u16string path = u"stale";
  fake.files.systemDirectory = u"C:\\Windows\\System32\\";
  EXPECT_TRUE(GetSystemDirectoryPath(path));
  EXPECT_EQ(path, u"C:\\Windows\\System32");
  fake.faults.Fail("files", "GetSystemDirectoryW", 5);
  EXPECT_FALSE(GetSystemDirectoryPath(path));
  EXPECT_EQ(path, u"");
}

}  // namespace
}  // namespace base
