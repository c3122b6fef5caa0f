// VLXFMWizardSim.exe: the same wizard over a simulated machine, read from
// the file VLXFM_SIM_MACHINE names or built in. Drives, the firmware
// driver's service, power source, restart, input blocking, disk
// controllers and the registry are the simulator's; only the log, the
// files beside the executable and the user interface are real. When
// VLXFM_SIM_SAVE names a file, the machine is written there as the wizard
// leaves it, after a restart: a second run over it sees the drives as
// updated.
#include <windows.h>

#include <optional>
#include <string>

#include "app/startup/wizard_app.h"
#include "app/ui/sheet_road.h"
#include "base/file.h"
#include "base/read_file.h"
#include "base/string_table.h"
#include "base/text.h"
#include "os/win32/win32_system.h"
#include "sim/machine_after_restart.h"
#include "sim/machine_description.h"
#include "sim/simulated_system.h"

namespace {

constexpr char16_t kMachineVariable[] = u"VLXFM_SIM_MACHINE";
constexpr char16_t kSaveVariable[] = u"VLXFM_SIM_SAVE";
constexpr std::size_t kLargestMachineFile = 1024 * 1024;

std::u16string Environment(const char16_t* name) {
  char16_t value[1024] = {};
  const DWORD length = ::GetEnvironmentVariableW(reinterpret_cast<const wchar_t*>(name),
                                                 reinterpret_cast<wchar_t*>(value), 1024);
  return length == 0 || length >= 1024 ? std::u16string() : std::u16string(value, length);
}

void ShowError(const std::u16string& text) {
  std::u16string caption;
  base::LoadAppString(base::IDS_APP_TITLE, caption);
  ::MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()),
                reinterpret_cast<const wchar_t*>(caption.c_str()), MB_OK | MB_ICONERROR);
}

struct LoadedMachine {
  std::string json;  // the text it was described with
  sim::MachineDescription description;
};

// The machine, or none after telling the user which file failed and why.
std::optional<LoadedMachine> LoadMachine() {
  const std::u16string path = Environment(kMachineVariable);
  if (path.empty()) return LoadedMachine{sim::DefaultMachineJson(), sim::DefaultMachine()};
  std::u16string reason;
  os::DWORD code = 0;
  const auto contents = base::ReadWholeFile(path, kLargestMachineFile, code);
  if (!contents) {
    reason = u"it cannot be read (error " + base::Widen(std::to_string(code)) + u").";
  } else {
    std::string json(contents->begin(), contents->end());
    std::string error;
    auto machine = sim::ParseMachine(json, error);
    if (machine) return LoadedMachine{std::move(json), std::move(*machine)};
    reason = base::Widen(error);
  }
  ShowError(u"The simulated machine in " + path + u" (" + kMachineVariable +
            u") cannot be used: " + reason);
  return std::nullopt;
}

// Writes the machine as it comes back from a restart where VLXFM_SIM_SAVE
// says; false after telling the user why it could not.
bool SaveMachine(const std::string& json, sim::SimMachine& machine) {
  const std::u16string path = Environment(kSaveVariable);
  if (path.empty()) return true;
  std::string error;
  const auto after = sim::DescribeAfterRestart(json, machine, error);
  std::u16string reason;
  if (!after) {
    reason = base::Widen(error);
  } else {
    base::CFile file;
    os::DWORD code = 0;
    if (file.Open(path, base::CFile::modeCreate | base::CFile::modeWrite, &code) &&
        file.Write(after->data(), static_cast<os::DWORD>(after->size()))) {
      return true;
    }
    if (code == 0) code = ::GetLastError();
    reason = u"it cannot be written (error " + base::Widen(std::to_string(code)) + u").";
  }
  ShowError(u"The simulated machine cannot be saved to " + path + u" (" + kSaveVariable +
            u"): " + reason);
  return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Never destroyed: the log is closed at process end and still needs them.
  auto* win32 = new os::win32::Win32System;
  os::InstallSystem(win32->system());
  std::optional<LoadedMachine> machine = LoadMachine();
  if (!machine) return 1;
  auto* simulated = new sim::SimulatedSystem(win32->system(), std::move(machine->description));
  os::InstallSystem(simulated->system());
  ui::SheetRoad road(u" (simulated)");
  app::CVLXFMWizardAppApp application(road);
  application.InitInstance();
  const int exitCode = application.ExitInstance();
  return SaveMachine(machine->json, simulated->machine()) ? exitCode : 1;
}
