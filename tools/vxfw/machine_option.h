// The --machine option: a simulated machine from a JSON file, or "default"
// for the built-in one, installed as the devices and version areas over
// the system the tool runs on.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "os/system.h"
#include "sim/sim_machine.h"

namespace vxfw {

class SimulatedSystem {
 public:
  explicit SimulatedSystem(sim::MachineDescription machine);
  sim::SimMachine& machine() { return machine_; }

 private:
  os::System& base_;
  sim::SimMachine machine_;
  sim::SimVersion version_;
  sim::SimShell shell_;
  os::System system_;
  os::ScopedSystem guard_;
};

// The machine `name` names ("default" or a JSON file), or none with `error`.
std::optional<sim::MachineDescription> LoadMachine(const std::u16string& name,
                                                   std::string& error);

}  // namespace vxfw
