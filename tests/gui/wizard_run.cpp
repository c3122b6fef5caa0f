#include "tests/gui/wizard_run.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/startup/wizard_app.h"
#include "app/ui/sheet_road.h"
#include "base/log.h"
#include "base/settings.h"

namespace gui_test {

namespace {

sim::MachineDescription Machine(const std::string& json) {
  if (json.empty()) return sim::DefaultMachine();
  std::string error;
  auto machine = sim::ParseMachine(json, error);
  EXPECT_TRUE(machine) << error;
  return machine ? *machine : sim::DefaultMachine();
}

}  // namespace

WizardRun::WizardRun(const std::string& machineJson)
    : simulated_(std::make_unique<sim::SimulatedSystem>(win32_.system(), Machine(machineJson))),
      guard_(std::make_unique<os::ScopedSystem>(simulated_->system())) {}

WizardRun::~WizardRun() { base::CloseLog(); }

void WizardRun::Run(const std::function<void(WizardDriver&)>& drive, Start start) {
  // A quit message left by an earlier case would end this wizard at once.
  MSG stale{};
  while (::PeekMessageW(&stale, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  const DWORD uiThread = ::GetCurrentThreadId();
  std::thread driver([&] {
    WizardDriver driverOfThisRun(uiThread, ScreenshotFolder());
    drive(driverOfThisRun);
    driverOfThisRun.EndWizard();
  });
  ui::SheetRoad road(u" (simulated)");
  if (start == Start::ThroughStartup) {
    app::CVLXFMWizardAppApp application(road);
    application.InitInstance();
    application.ExitInstance();
  } else {
    // What start-up would have loaded for the license page's control.
    const HMODULE richEdit = ::LoadLibraryW(L"RICHED20.DLL");
    road.RunWizard(app::WizardTitle());
    if (richEdit != nullptr) ::FreeLibrary(richEdit);
  }
  driver.join();
}

}  // namespace gui_test
