// The one composition of a system with a simulated machine: the machine's
// drives, firmware driver, symbolic links, driver service database, power
// source and restart, input, disk controllers, registry and Windows version
// over `base`, whose files, processes, text, messages and the rest stay as
// they are. The console tool, the tests and the simulated wizard all run on
// this; none of them changes the configuration of the machine it runs on.
#pragma once

#include "os/memory/device_info_sets.h"
#include "os/memory/module_table.h"
#include "os/memory/registry_tree.h"
#include "os/system.h"
#include "sim/machine_description.h"
#include "sim/sim_input.h"
#include "sim/sim_machine.h"
#include "sim/sim_power.h"
#include "sim/sim_version.h"

namespace sim {

class SimulatedSystem {
 public:
  SimulatedSystem(os::System& base, MachineDescription machine);
  SimulatedSystem(const SimulatedSystem&) = delete;
  SimulatedSystem& operator=(const SimulatedSystem&) = delete;

  // Install it (os::ScopedSystem) before anything runs on it.
  os::System& system() { return system_; }
  SimMachine& machine() { return machine_; }
  SimPower& power() { return power_; }
  SimInput& input() { return input_; }
  os::memory::DeviceInfoSets& controllers() { return controllers_; }
  os::memory::RegistryTree& registry() { return registry_; }

 private:
  SimMachine machine_;
  // ntdll's symbolic-link routines are the machine's; every other module
  // is the base system's.
  os::memory::ModuleTable modules_;
  SimVersion version_;
  SimPower power_;
  SimInput input_;
  os::memory::DeviceInfoSets controllers_;
  os::memory::RegistryTree registry_;
  os::System system_;
};

}  // namespace sim
