// One wizard over a simulated machine, in this process: the sheet runs on
// the calling thread, as the program runs it, while a driver thread acts
// as the user. Whatever the driver leaves open is ended, so a failed case
// cannot hang the suite.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "os/win32/win32_system.h"
#include "sim/simulated_system.h"
#include "tests/gui/gui_support.h"

namespace gui_test {

class WizardRun {
 public:
  // The machine as JSON; empty: the built-in default machine.
  explicit WizardRun(const std::string& machineJson = {});
  ~WizardRun();

  // Through start-up as the simulated wizard starts, or (for the native
  // road, whose flag start-up clears) the sheet alone.
  enum class Start { ThroughStartup, SheetOnly };
  void Run(const std::function<void(WizardDriver&)>& drive, Start start = Start::ThroughStartup);

  sim::SimulatedSystem& simulated() { return *simulated_; }

 private:
  os::win32::Win32System win32_;
  std::unique_ptr<sim::SimulatedSystem> simulated_;
  std::unique_ptr<os::ScopedSystem> guard_;
};

}  // namespace gui_test
