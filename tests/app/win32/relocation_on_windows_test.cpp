// "launch" for real: Wine's cmd.exe copies a package folder below a
// temporary directory whose path has blanks, and the copy is started. A
// small program stands in for the wizard and records that it ran.
//
// Wine's cmd.exe answers 0 for rmdir of a missing folder where Windows
// answers 2; the relocation ignores that exit code either way.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/relocation.h"
#include "os/fake/fake_system.h"
#include "os/win32/win32_system.h"

namespace app {
namespace {

std::wstring Temp() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  return temp;
}

void Write(const std::wstring& path, const char* text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
  CloseHandle(file);
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ReadUtf16(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  wchar_t buffer[2048] = {};
  DWORD read = 0;
  ReadFile(file, buffer, sizeof buffer - 2, &read, nullptr);
  CloseHandle(file);
  return std::wstring(buffer, read / 2);
}

TEST(RelocationOnWindows, CopiesThePlainFilesAndStartsTheCopy) {
  const std::wstring stamp = std::to_wstring(GetTickCount());
  const std::wstring source = Temp() + L"vx reloc src " + stamp;
  const std::wstring temp = Temp() + L"vx reloc tmp " + stamp;
  const std::wstring copy = temp + L"\\VLXFMUpdate\\2.1.0.0";
  ASSERT_TRUE(CreateDirectoryW(source.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((source + L"\\sub").c_str(), nullptr));
  ASSERT_TRUE(CopyFileW(VX_RECORD_RUN_EXE, (source + L"\\VLXFMWizardApp.exe").c_str(), FALSE));
  Write(source + L"\\notes.txt", "notes");
  Write(source + L"\\VLXFMUpdate.log", "log of the source");
  Write(source + L"\\helper.vbs", "script");
  Write(source + L"\\sub\\inner.txt", "inner");
  // A copy left by an earlier run, with a file no longer in the package.
  CreateDirectoryW(temp.c_str(), nullptr);
  CreateDirectoryW((temp + L"\\VLXFMUpdate").c_str(), nullptr);
  CreateDirectoryW(copy.c_str(), nullptr);
  Write(copy + L"\\stale.txt", "stale");

  SetEnvironmentVariableW(L"Temp", temp.c_str());
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW((source + L"\\").c_str()));
  {
    // Real Windows but for the message box, which would wait for a click.
    os::win32::Win32System win32;
    os::fake::FakeSystem fake;
    os::System system{win32.errors,    win32.files,   win32.debug,    win32.text,
                      win32.resources, win32.modules, win32.devices,  win32.version,
                      win32.services,  win32.process, win32.input,    win32.power,
                      fake.messages,   win32.registry, win32.setup,
                      win32.commonControls, win32.sockets, win32.ole};
    os::ScopedSystem guard(system);
    PrepareAndLaunchWizard();
    EXPECT_TRUE(fake.messages.Boxes().empty());
  }
  SetCurrentDirectoryW(previous);

  const std::wstring ran = copy + L"\\ran.txt";
  for (int i = 0; i < 300 && !Exists(ran); ++i) Sleep(50);
  const std::wstring report = ReadUtf16(ran);
  ASSERT_FALSE(report.empty()) << "the copy did not run";
  const std::wstring exe = copy + L"\\VLXFMWizardApp.exe";
  EXPECT_EQ(report, exe + L"\n\"" + exe + L"\"\n" + copy + L"\n") << std::string(report.begin(), report.end());
  EXPECT_TRUE(Exists(copy + L"\\notes.txt"));
  EXPECT_FALSE(Exists(copy + L"\\VLXFMUpdate.log"));
  EXPECT_FALSE(Exists(copy + L"\\helper.vbs"));
  EXPECT_FALSE(Exists(copy + L"\\sub"));
  EXPECT_FALSE(Exists(copy + L"\\stale.txt"));
  EXPECT_TRUE(Exists(source + L"\\VLXFMUpdate.log"));
}

}  // namespace
}  // namespace app
