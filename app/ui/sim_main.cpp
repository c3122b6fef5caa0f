// VLXFMWizardSim.exe: the same wizard over a simulated machine, read from
// the file VLXFM_SIM_MACHINE names or built in. Drives, the firmware
// driver's service, power source, restart, input blocking, disk
// controllers and the registry are the simulator's; only the log, the
// files beside the executable and the user interface are real.
#include <windows.h>

#include <optional>
#include <string>

#include "app/startup/wizard_app.h"
#include "app/ui/sheet_road.h"
#include "base/read_file.h"
#include "base/string_table.h"
#include "base/text.h"
#include "os/win32/win32_system.h"
#include "sim/machine_description.h"
#include "sim/simulated_system.h"

namespace {

constexpr char16_t kMachineVariable[] = u"VLXFM_SIM_MACHINE";
constexpr std::size_t kLargestMachineFile = 1024 * 1024;

std::u16string Environment(const char16_t* name) {
  char16_t value[1024] = {};
  const DWORD length = ::GetEnvironmentVariableW(reinterpret_cast<const wchar_t*>(name),
                                                 reinterpret_cast<wchar_t*>(value), 1024);
  return length == 0 || length >= 1024 ? std::u16string() : std::u16string(value, length);
}

// The machine, or none after telling the user which file failed and why.
std::optional<sim::MachineDescription> LoadMachine() {
  const std::u16string path = Environment(kMachineVariable);
  if (path.empty()) return sim::DefaultMachine();
  std::u16string reason;
  os::DWORD code = 0;
  const auto contents = base::ReadWholeFile(path, kLargestMachineFile, code);
  std::optional<sim::MachineDescription> machine;
  if (!contents) {
    reason = u"it cannot be read (error " + base::Widen(std::to_string(code)) + u").";
  } else {
    std::string error;
    machine = sim::ParseMachine(std::string(contents->begin(), contents->end()), error);
    if (!machine) reason = base::Widen(error);
  }
  if (machine) return machine;
  std::u16string caption;
  base::LoadAppString(base::IDS_APP_TITLE, caption);
  const std::u16string text = u"The simulated machine in " + path + u" (" + kMachineVariable +
                              u") cannot be used: " + reason;
  ::MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()),
                reinterpret_cast<const wchar_t*>(caption.c_str()), MB_OK | MB_ICONERROR);
  return std::nullopt;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Never destroyed: the log is closed at process end and still needs them.
  auto* win32 = new os::win32::Win32System;
  os::InstallSystem(win32->system());
  std::optional<sim::MachineDescription> machine = LoadMachine();
  if (!machine) return 1;
  auto* simulated = new sim::SimulatedSystem(win32->system(), std::move(*machine));
  os::InstallSystem(simulated->system());
  ui::SheetRoad road(u" (simulated)");
  app::CVLXFMWizardAppApp application(road);
  application.InitInstance();
  return application.ExitInstance();
}
