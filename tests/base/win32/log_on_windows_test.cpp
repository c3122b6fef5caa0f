// The log against the real file system: the file beside this test
// executable.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "base/log.h"
#include "os/constants.h"
#include "os/win32/win32_system.h"

namespace base {
namespace {

class LogOnWindows : public testing::Test {
 protected:
  LogOnWindows() : guard_(win32_.system()) {}
  ~LogOnWindows() override { CloseLog(); }

  std::u16string LogPath() {
    char16_t path[os::kMaxPath] = {};
    win32_.files.GetModuleFileNameW(nullptr, path, os::kMaxPath);
    win32_.files.PathRemoveFileSpecW(path);
    return std::u16string(path) + u"\\" + kLogFileName;
  }

  // The file's bytes, or nothing when it does not exist yet.
  std::string Read() {
    const os::FileHandle file = win32_.files.CreateFileW(
        LogPath().c_str(), os::kGenericRead,
        os::kFileShareRead | os::kFileShareWrite, nullptr, os::kOpenExisting,
        os::kFileAttributeNormal, nullptr);
    if (file == os::InvalidHandleValue()) return {};
    std::string bytes;
    char chunk[65536];
    os::DWORD read = 0;
    while (win32_.files.ReadFile(file, chunk, sizeof chunk, &read, nullptr) &&
           read != 0) {
      bytes.append(chunk, read);
    }
    win32_.files.CloseHandle(file);
    return bytes;
  }

  static std::string Utf16(const std::string& ascii) {
    std::string bytes;
    for (char c : ascii) {
      bytes += c;
      bytes += '\0';
    }
    return bytes;
  }

  os::win32::Win32System win32_;
  os::ScopedSystem guard_;
};

TEST_F(LogOnWindows, AppendsUtf16LinesWithoutByteOrderMarkAcrossTwoOpens) {
  const std::string before = Read();
  OpenLog(nullptr);
  ASSERT_TRUE(IsLogOpen());
  WriteLogLine(u"first open");
  CloseLog();
  OpenLog(nullptr);
  WriteLogLine(u"ACLineStatus = 0x%x", 255);
  CloseLog();

  const std::string after = Read();
  ASSERT_EQ(after.compare(0, before.size(), before), 0);
  EXPECT_EQ(after.substr(before.size()),
            Utf16("first open\r\nACLineStatus = 0xff\r\n"));
  if (before.empty()) {
    EXPECT_NE(after.substr(0, 2), std::string("\xFF\xFE"));
  }
}

TEST_F(LogOnWindows, TwoThreadsLeaveOnlyWholeLines) {
  const std::size_t start = Read().size();
  OpenLog(nullptr);
  auto writer = [](char16_t name) {
    for (int i = 0; i < 1000; ++i) {
      WriteLogLine(u"thread %s line %d", std::u16string(1, name), i);
    }
  };
  std::thread a(writer, u'A');
  std::thread b(writer, u'B');
  a.join();
  b.join();
  CloseLog();

  const std::string added = Read().substr(start);
  int lines[2] = {0, 0};
  std::size_t pos = 0;
  while (pos < added.size()) {
    const std::size_t end = added.find(Utf16("\r\n"), pos);
    ASSERT_NE(end, std::string::npos);
    ASSERT_EQ((end - pos) % 2, 0u);
    const std::string line = added.substr(pos, end - pos);
    ASSERT_EQ(line.compare(0, 14, Utf16("thread ")), 0);
    const char who = line[14];
    ASSERT_TRUE(who == 'A' || who == 'B');
    ++lines[who - 'A'];
    pos = end + 4;
  }
  EXPECT_EQ(lines[0], 1000);
  EXPECT_EQ(lines[1], 1000);
}

}  // namespace
}  // namespace base
