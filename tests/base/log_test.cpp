#include "base/log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "os/constants.h"
#include "os/fake/fake_system.h"
#include "tests/support/utf16.h"

namespace base {
namespace {

constexpr char16_t kFolder[] = u"C:\\Program Files\\Veltrax";
constexpr char16_t kExe[] = u"C:\\Program Files\\Veltrax\\VLXFMWizardApp.exe";
constexpr char16_t kLog[] = u"C:\\Program Files\\Veltrax\\VLXFMUpdate.log";

class LogTest : public testing::Test {
 protected:
  LogTest() {
    fake_.files.AddFolder(kFolder);
    fake_.files.AddFolder(u"C:\\Windows");
    fake_.files.SetModulePath(kExe);
  }
  ~LogTest() override { CloseLog(); }

  std::u16string LogText() { return testing_support::Utf16Of(fake_.files.Contents(kLog)); }

  os::fake::ScopedFakeSystem fake_;
};

TEST_F(LogTest, OpensBesideTheExecutableForAppendingWriteThrough) {
  OpenLog(nullptr);
  ASSERT_TRUE(IsLogOpen());
  EXPECT_EQ(fake_.files.CurrentDirectory(), u"c:\\program files\\veltrax");
  const auto opens = fake_.files.Opens();
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].path, u"c:\\program files\\veltrax\\vlxfmupdate.log");
  EXPECT_EQ(opens[0].desiredAccess, os::kGenericWrite);
  EXPECT_EQ(opens[0].shareMode, os::kFileShareRead | os::kFileShareWrite);
  EXPECT_EQ(opens[0].creationDisposition, os::kOpenAlways);
  EXPECT_EQ(opens[0].flagsAndAttributes,
            os::kFileAttributeNormal | os::kFileFlagWriteThrough);
}

TEST_F(LogTest, EachLineIsOneWriteOfUtf16WithoutByteOrderMark) {
  OpenLog(nullptr);
  WriteLogLine(u"ACLineStatus = 0x%x", 255);
  WriteLogLine(u"%d of %d", 1, 3);
  EXPECT_EQ(LogText(), u"ACLineStatus = 0xff\r\n1 of 3\r\n");
  const auto bytes = fake_.files.Contents(kLog);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 'A');
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(fake_.files.WriteCalls(kLog), 2u);
  EXPECT_EQ(fake_.debug.Output(),
            (std::vector<std::u16string>{u"ACLineStatus = 0xff\r\n",
                                         u"1 of 3\r\n"}));
}

TEST_F(LogTest, ASecondOpenChangesNothing) {
  OpenLog(nullptr);
  ASSERT_NE(fake_.files.SetCurrentDirectoryW(u"C:\\Windows"), os::kFalse);
  OpenLog(nullptr);
  EXPECT_EQ(fake_.files.CurrentDirectory(), u"c:\\windows");
  EXPECT_EQ(fake_.files.Opens().size(), 1u);
}

TEST_F(LogTest, TwoRunsAppendToTheSameFile) {
  OpenLog(nullptr);
  WriteLogLine(u"first run");
  CloseLog();
  EXPECT_EQ(fake_.files.OpenHandles(), 0u);
  OpenLog(nullptr);
  WriteLogLine(u"second run");
  EXPECT_EQ(LogText(), u"first run\r\nsecond run\r\n");
}

TEST_F(LogTest, ALockedFileStillLeavesTheLinesInTheDebuggerOutput) {
  fake_.files.PutFile(kLog, {});
  const os::FileHandle locker = fake_.files.CreateFileW(
      kLog, os::kGenericRead, os::kFileShareRead, nullptr, os::kOpenExisting,
      os::kFileAttributeNormal, nullptr);
  ASSERT_NE(locker, os::InvalidHandleValue());
  OpenLog(nullptr);
  EXPECT_TRUE(IsLogOpen());
  WriteLogLine(u"Identify failed.");
  EXPECT_EQ(LogText(), u"");
  EXPECT_EQ(fake_.debug.Output(),
            std::vector<std::u16string>{u"Identify failed.\r\n"});
  fake_.files.CloseHandle(locker);
}

TEST_F(LogTest, WithoutAModulePathThereIsNoLogAtAll) {
  for (const char* call : {"GetModuleFileNameW", "PathRemoveFileSpecW"}) {
    fake_.faults.Fail("files", call, os::kErrorNotEnoughMemory);
    OpenLog(nullptr);
    EXPECT_FALSE(IsLogOpen()) << call;
    EXPECT_EQ(fake_.files.CurrentDirectory(), u"c:\\") << call;
  }
  EXPECT_TRUE(fake_.files.Opens().empty());
  EXPECT_TRUE(fake_.debug.Output().empty());
}

TEST_F(LogTest, APathThatFillsTheModuleBufferGivesNoLog) {
  const std::u16string deep = u"C:\\" + std::u16string(250, u'd');
  fake_.files.AddFolder(deep);
  fake_.files.SetModulePath(deep + u"\\a.exe");  // 259 units: fits
  OpenLog(nullptr);
  EXPECT_TRUE(IsLogOpen());
  CloseLog();
  fake_.files.SetModulePath(deep + u"\\ab.exe");  // 260 units: cut
  OpenLog(nullptr);
  EXPECT_FALSE(IsLogOpen());
}

TEST_F(LogTest, AnExecutableInADriveRootLogsInTheRoot) {
  fake_.files.SetModulePath(u"C:\\VLXFMWizardApp.exe");
  OpenLog(nullptr);
  WriteLogLine(u"root");
  EXPECT_EQ(testing_support::Utf16Of(fake_.files.Contents(u"C:\\VLXFMUpdate.log")),
            u"root\r\n");
}

TEST(ErrorInfoBlock, NamesEveryFieldOnItsOwnLine) {
  const ErrorInfo info{0xFFFFF003u, u"Drive", 263, u"CDrive::Init"};
  EXPECT_EQ(FormatErrorInfo(info),
            u"\r\nError Info :\r\nFile      = Drive\r\nLine      = 263\r\n"
            u"Function  = CDrive::Init\r\nErrorCode = 0xfffff003");
}

TEST(ErrorInfoRecord, SuccessNeedsARecordWithTheSuccessCode) {
  EXPECT_FALSE(IsSuccess(nullptr));
  auto info = MakeErrorInfo(u"Drive", 100, u"CDrive::Init");
  EXPECT_TRUE(IsSuccess(info));
  info->Fail(2, u"Drive", 183, u"CDrive::Init");
  EXPECT_FALSE(IsSuccess(info));
  EXPECT_EQ(info->line, 183);
}

}  // namespace
}  // namespace base
