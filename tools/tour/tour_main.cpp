// vxtour: starts the wizard and walks it through as a user would, saving a
// picture of every page. It is what ./run demo shows a newcomer who has no
// display, and it works on the simulated wizard and the product alike.
//
//   vxtour WIZARD.EXE PICTURE-FOLDER
//
// Exit code 0 when the walk came to one of the wizard's ends (updated,
// failed, nothing to update, stopped by a message), 1 when the wizard did
// not show what came next or did not end, 2 for wrong arguments.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/tour/wizard_driver.h"
#include "tools/tour/wizard_tour.h"

namespace {

void Say(const std::wstring& line) {
  const std::wstring text = L"tour: " + line + L"\n";
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
  std::fputs(utf8.c_str(), stdout);
  std::fflush(stdout);
}

const wchar_t* Told(tour::Outcome outcome) {
  switch (outcome) {
    case tour::Outcome::Updated: return L"updated: ";
    case tour::Outcome::UpdateFailed: return L"the update failed: ";
    case tour::Outcome::NothingToDo: return L"nothing to update: ";
    case tour::Outcome::Stopped: return L"the wizard stopped the walk: ";
    case tour::Outcome::Lost: return L"lost: ";
  }
  return L"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: vxtour WIZARD.EXE PICTURE-FOLDER\n", stderr);
    return 2;
  }
  const std::wstring wizard = argv[1];
  const std::wstring pictures = argv[2];
  ::CreateDirectoryW(pictures.c_str(), nullptr);
  std::wstring commandLine = L"\"" + wizard + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // In the caller's folder, so that a relative VLXFM_SIM_MACHINE means
  // what it meant to the caller; the wizard finds its own files itself.
  if (!::CreateProcessW(wizard.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
    Say(L"cannot start " + wizard + L" (error " + std::to_wstring(::GetLastError()) + L")");
    return 1;
  }
  ::CloseHandle(process.hThread);
  Say(L"started " + wizard);
  tour::WizardDriver driver(process.dwThreadId, pictures);
  const tour::TourReport report = tour::WalkWizard(driver, Say);
  Say(Told(report.outcome) + report.detail);
  int status = report.outcome == tour::Outcome::Lost ? 1 : 0;
  if (::WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
    Say(L"the wizard did not end; it is stopped");
    ::TerminateProcess(process.hProcess, 1);
    status = 1;
  } else {
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    Say(L"the wizard ended with exit code " + std::to_wstring(code));
  }
  ::CloseHandle(process.hProcess);
  return status;
}
