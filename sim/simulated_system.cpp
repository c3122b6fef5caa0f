#include "sim/simulated_system.h"

namespace sim {
SimulatedSystem::SimulatedSystem(os::System& base, MachineDescription machine)
    : machine_(std::move(machine), base.errors),
      modules_(base.errors, os::memory::ModuleTable::Serves::kNtdll, nullptr, &base.modules),
      version_(machine_.description(), base.errors),
      power_(machine_.description(), base.errors, base.power),
      controllers_(base.errors, nullptr),
      system_{base.errors,   base.files,   base.debug,      base.text,     base.resources,
              modules_,      machine_,     version_,        machine_.services(),
              base.process,  input_,   power_,          base.messages, registry_,
              controllers_,  base.commonControls, base.sockets, base.ole} {
  for (const auto& service : machine_.description().controllerServices) {
    controllers_.AddDevice(os::kGuidDevClassHdc, std::u16string(service.begin(), service.end()));
  }
}

}  // namespace sim
