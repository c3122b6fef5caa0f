// The two wizard executables as a user starts them: the product with its
// words "done" and "launch", and the simulated wizard with a machine file
// that cannot be used.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>
#include <commctrl.h>

#include "tests/gui/gui_support.h"

namespace gui_test {
namespace {

constexpr wchar_t kProductTitle[] = L"Veltrax Drive Update for vx7221 -v2";

struct Started {
  HANDLE process = nullptr;
  DWORD id = 0;
  ~Started() {
    if (process != nullptr) {
      if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) ::TerminateProcess(process, 9);
      ::CloseHandle(process);
    }
  }
};

bool Start(const std::wstring& exe, const std::wstring& arguments, Started& started) {
  std::wstring line = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return false;
  }
  ::CloseHandle(info.hThread);
  started.process = info.hProcess;
  started.id = info.dwProcessId;
  return true;
}

struct WindowSearch {
  DWORD process;        // 0: any but `notProcess`
  DWORD notProcess;
  const wchar_t* title;  // null: any visible window
  HWND found = nullptr;
};

BOOL CALLBACK FindByProcess(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (!::IsWindowVisible(hwnd)) return TRUE;
  if (search->process != 0 && owner != search->process) return TRUE;
  if (search->process == 0 && owner == search->notProcess) return TRUE;
  if (search->title != nullptr) {
    wchar_t title[256] = {};
    ::GetWindowTextW(hwnd, title, 256);
    if (std::wstring(title) != search->title) return TRUE;
  }
  search->found = hwnd;
  return FALSE;
}

HWND WindowOf(DWORD process, const wchar_t* title = nullptr, DWORD notProcess = 0) {
  WindowSearch search{process, notProcess, title};
  ::EnumWindows(FindByProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DWORD ExitCodeAfter(const Started& started, DWORD ms) {
  if (::WaitForSingleObject(started.process, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(started.process, &code);
  return code;
}

TEST(Executables, DoneOpensNoWindowAndEnds) {
  Started done;
  ASSERT_TRUE(Start(VX_WIZARD_APP_EXE, L"done", done));
  bool window = false;
  const bool ended = WaitFor([&] {
    window = window || WindowOf(done.id) != nullptr;
    return ::WaitForSingleObject(done.process, 0) == WAIT_OBJECT_0;
  }, 20000);
  EXPECT_TRUE(ended);
  EXPECT_FALSE(window);
  EXPECT_EQ(ExitCodeAfter(done, 0), 0u);
}

TEST(Executables, LaunchStartsTheCopyThatShowsTheWizard) {
  Started launch;
  ASSERT_TRUE(Start(VX_WIZARD_APP_EXE, L"/launch", launch));
  bool ownWindow = false;
  EXPECT_TRUE(WaitFor([&] {
    ownWindow = ownWindow || WindowOf(launch.id, kProductTitle) != nullptr;
    return ::WaitForSingleObject(launch.process, 0) == WAIT_OBJECT_0;
  }, 30000));
  EXPECT_FALSE(ownWindow);
  HWND copy = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (copy = WindowOf(0, kProductTitle, launch.id)) != nullptr; },
                      30000));
  DWORD copyProcess = 0;
  ::GetWindowThreadProcessId(copy, &copyProcess);
  const HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, copyProcess);
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  ::QueryFullProcessImageNameW(process, 0, path, &size);
  EXPECT_NE(std::wstring(path).find(L"\\VLXFMUpdate\\2.1.0.0\\VLXFMWizardApp.exe"),
            std::wstring::npos)
      << std::string(path, path + size);
  ::PostMessageW(copy, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  EXPECT_EQ(::WaitForSingleObject(process, 20000), WAIT_OBJECT_0);
  ::CloseHandle(process);
}

TEST(Executables, ASimulatedMachineThatCannotBeUsedIsNamedWithItsReason) {
  const std::wstring file = ScreenshotFolder() + L"\\bad_machine.json";
  HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  const char json[] = R"({"drives": [{"number": 1, "modle": "VX"}]})";
  DWORD written = 0;
  ::WriteFile(handle, json, sizeof json - 1, &written, nullptr);
  ::CloseHandle(handle);
  ::SetEnvironmentVariableW(L"VLXFM_SIM_MACHINE", file.c_str());
  Started sim;
  const bool started = Start(VX_WIZARD_SIM_EXE, L"", sim);
  ::SetEnvironmentVariableW(L"VLXFM_SIM_MACHINE", nullptr);
  ASSERT_TRUE(started);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = WindowOf(sim.id)) != nullptr; }, 20000));
  wchar_t text[1024] = {};
  ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
  const std::wstring shown(text);
  EXPECT_NE(shown.find(file), std::wstring::npos) << std::string(shown.begin(), shown.end());
  EXPECT_NE(shown.find(L"unknown key \"modle\""), std::wstring::npos);
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(ExitCodeAfter(sim, 20000), 1u);
}

}  // namespace
}  // namespace gui_test
