// vxtour over the simulated wizard, each in a process of its own, as
// ./run demo runs them: the default machine updated and saved as it comes
// back from the restart, and the example machines of the docs, where the
// wizard stops the walk with its own message.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "base/string_table.h"
#include "base/text.h"
#include "os/win32/win32_system.h"
#include "sim/machine_description.h"
#include "tests/gui/gui_support.h"

namespace gui_test {
namespace {

struct Tour {
  DWORD exitCode = STILL_ACTIVE;
  std::string output;
};

// vxtour on the simulated wizard with these variables set for it; its
// pictures go to `pictures`.
Tour RunTour(const std::wstring& machine, const std::wstring& save, const std::wstring& pictures) {
  ::SetEnvironmentVariableW(L"VLXFM_SIM_MACHINE", machine.empty() ? nullptr : machine.c_str());
  ::SetEnvironmentVariableW(L"VLXFM_SIM_SAVE", save.empty() ? nullptr : save.c_str());
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  Tour tour;
  if (!::CreatePipe(&read, &write, &inherit, 0)) return tour;
  ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  std::wstring line = L"\"" VX_TOUR_EXE L"\" \"" VX_WIZARD_SIM_EXE L"\" \"" + pictures + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write;
  startup.hStdError = write;
  PROCESS_INFORMATION process{};
  const bool started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
  ::CloseHandle(write);
  ::SetEnvironmentVariableW(L"VLXFM_SIM_MACHINE", nullptr);
  ::SetEnvironmentVariableW(L"VLXFM_SIM_SAVE", nullptr);
  if (started) {
    char chunk[512];
    DWORD got = 0;
    while (::ReadFile(read, chunk, sizeof chunk, &got, nullptr) && got > 0) tour.output.append(chunk, got);
    ::WaitForSingleObject(process.hProcess, 60000);
    ::GetExitCodeProcess(process.hProcess, &tour.exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  ::CloseHandle(read);
  return tour;
}

std::wstring Folder(const std::wstring& name) {
  const std::wstring folder = ScreenshotFolder() + L"\\" + name;
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Tour, WalksTheDefaultMachineToFinishAndSavesItUpdated) {
  const std::wstring pictures = Folder(L"tour_default");
  const std::wstring save = pictures + L"\\after.json";
  ::DeleteFileW(save.c_str());
  const Tour tour = RunTour(L"", save, pictures);
  EXPECT_EQ(tour.exitCode, 0u) << tour.output;
  EXPECT_NE(tour.output.find("tour: updated: the update is done"), std::string::npos) << tour.output;
  EXPECT_NE(tour.output.find("tour: the wizard ended with exit code 0"), std::string::npos)
      << tour.output;
  for (const wchar_t* picture : {L"1-license", L"2-drives", L"3-warning", L"4-progress", L"5-done"}) {
    EXPECT_TRUE(Exists(pictures + L"\\" + picture + L".png")) << tour.output;
  }
  std::ifstream in(save.c_str(), std::ios::binary);
  const std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string error;
  const auto after = sim::ParseMachine(json, error);
  ASSERT_TRUE(after) << error << "\n" << json;
  const auto before = sim::DefaultMachine();
  ASSERT_EQ(after->drives.size(), before.drives.size());
  for (std::size_t i = 0; i < before.drives.size(); ++i) {
    const auto& was = before.drives[i].drive;
    const auto& is = after->drives[i].drive;
    // The two drives the wizard ticks take the package; the rest stay.
    const bool updated = was.serial == "VX10000001" || was.serial == "VX10000002";
    EXPECT_EQ(is.firmware, updated ? "02.01P03" : was.firmware) << was.serial;
    EXPECT_EQ(is.revisionSet, updated ? "02.01P02 .30.3C.31P" : was.revisionSet) << was.serial;
  }
}

TEST(Tour, TheExampleMachinesStopTheWalkWithTheWizardsOwnMessage) {
  struct Case {
    const wchar_t* file;
    std::uint32_t text;
    const wchar_t* lastPicture;
  };
  const Case cases[] = {
      {L"laptop-on-battery", base::IDS_PLUG_IN_AC, L"4-message"},
      {L"amd-sata", 127, L"3-message"},
  };
  // The texts come from this program's own string table, through the
  // system's text conversion.
  os::win32::Win32System win32;
  const os::ScopedSystem guard(win32.system());
  for (const auto& c : cases) {
    const std::wstring pictures = Folder(std::wstring(L"tour_") + c.file);
    const Tour tour = RunTour(VX_SOURCE_DIR L"\\docs\\machines\\" + std::wstring(c.file) + L".json",
                              L"", pictures);
    std::u16string text;
    ASSERT_TRUE(base::LoadAppString(c.text, text));
    EXPECT_EQ(tour.exitCode, 0u) << tour.output;
    EXPECT_NE(tour.output.find("tour: the wizard stopped the walk: " + base::Narrow(text)), std::string::npos)
        << tour.output;
    EXPECT_TRUE(Exists(pictures + L"\\" + c.lastPicture + L".png")) << tour.output;
  }
}

}  // namespace
}  // namespace gui_test
