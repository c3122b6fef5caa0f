#include <gtest/gtest.h>

#include "os/constants.h"
#include "os/fake/fake_system.h"

namespace os::fake {
namespace {

// Hands what the switch reports to the test, and the test's own reporter
// back afterwards.
class CapturedReports {
 public:
  CapturedReports() {
    Faults::SetUnstruckReporter([this](const std::vector<std::string>& unstruck) {
      reports.insert(reports.end(), unstruck.begin(), unstruck.end());
    });
  }
  ~CapturedReports() {
    Faults::SetUnstruckReporter([](const std::vector<std::string>& unstruck) {
      for (const auto& fault : unstruck) ADD_FAILURE() << "fault set but never struck: " << fault;
    });
  }
  std::vector<std::string> reports;
};

TEST(FakeFaults, ADeviceOpenFaultIsNotTakenByAFileOpen) {
  ScopedFakeSystem fake;
  fake.files.AddFolder(u"C:\\app");
  fake.devices.Add(u"\\\\.\\VLXFMDriver", std::make_shared<ScriptedDevice>());
  fake.faults.Fail("devices", "CreateFileW", 1275);

  const FileHandle file =
      fake.files.CreateFileW(u"C:\\app\\VLXFMUpdate.log", kGenericWrite, kFileShareRead,
                             nullptr, kOpenAlways, kFileAttributeNormal, nullptr);
  ASSERT_NE(file, InvalidHandleValue());
  fake.files.CloseHandle(file);

  EXPECT_EQ(fake.devices.CreateFileW(u"\\\\.\\VLXFMDriver", kGenericRead, 0, nullptr,
                                     kOpenExisting, 0, nullptr),
            InvalidHandleValue());
  EXPECT_EQ(fake.errors.GetLastError(), 1275u);
}

TEST(FakeFaults, TheVersionAreaFailsOnceAndThenAnswers) {
  ScopedFakeSystem fake;
  fake.faults.Fail("version", "GetVersionExW", kErrorInvalidParameter);
  OsVersionInfo info{};
  info.dwOSVersionInfoSize = kOsVersionInfoSize;
  EXPECT_EQ(fake.version.GetVersionExW(&info), kFalse);
  EXPECT_EQ(fake.errors.GetLastError(), kErrorInvalidParameter);
  ASSERT_NE(fake.version.GetVersionExW(&info), kFalse);
  EXPECT_EQ(info.dwMajorVersion, 10u);
}

TEST(FakeFaults, AFaultThatNeverStruckIsReported) {
  CapturedReports captured;
  {
    Faults faults;
    faults.Fail("devices", "CreateFileW", 5);
    faults.Fail("files", "CreateFileW", 5);
    faults.Fail("registry", "RegOpenKeyExW", 2, Faults::kAlways);
    EXPECT_EQ(faults.Take("files", "CreateFileW"), 5u);
    EXPECT_EQ(faults.Take("registry", "RegOpenKeyExW"), 2u);
  }
  EXPECT_EQ(captured.reports, std::vector<std::string>{"devices.CreateFileW"});
}

TEST(FakeFaults, AFaultReplacedBeforeItStruckIsReportedToo) {
  CapturedReports captured;
  {
    Faults faults;
    faults.Fail("files", "CopyFileW", 32);
    faults.Fail("files", "CopyFileW", 5, 2);
    EXPECT_EQ(faults.Take("files", "CopyFileW"), 5u);
    EXPECT_EQ(faults.Take("files", "CopyFileW"), 5u);
    EXPECT_EQ(faults.Take("files", "CopyFileW"), std::nullopt);
  }
  EXPECT_EQ(captured.reports, std::vector<std::string>{"files.CopyFileW"});
}

}  // namespace
}  // namespace os::fake
