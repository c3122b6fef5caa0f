// The --machine option: a simulated machine from a JSON file, or "default"
// for the built-in one, installed over the system the tool runs on.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "os/system.h"
#include "sim/simulated_system.h"

namespace vxfw {

// The simulated machine installed over the system the tool runs on, for
// the lifetime of the object.
class InstalledMachine {
 public:
  explicit InstalledMachine(sim::MachineDescription machine)
      : simulated_(os::Sys(), std::move(machine)), guard_(simulated_.system()) {}
  sim::SimMachine& machine() { return simulated_.machine(); }

 private:
  sim::SimulatedSystem simulated_;
  os::ScopedSystem guard_;
};

// The machine `name` names ("default" or a JSON file), or none with `error`.
std::optional<sim::MachineDescription> LoadMachine(const std::u16string& name,
                                                   std::string& error);

}  // namespace vxfw
