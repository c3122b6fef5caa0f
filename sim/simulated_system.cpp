#include "sim/simulated_system.h"

#include "os/constants.h"

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
  // Each controller's driver service has its key, as an installed driver
  // has: the AMD SATA feature switch is written under it.
  for (const auto& service : machine_.description().controllerServices) {
    const std::u16string name(service.begin(), service.end());
    controllers_.AddDevice(os::kGuidDevClassHdc, name);
    os::HKEY key = nullptr;
    if (registry_.RegCreateKeyExW(os::HkeyLocalMachine(),
                                  (u"SYSTEM\\CurrentControlSet\\Services\\" + name +
                                   u"\\Parameters\\Device").c_str(),
                                  0, nullptr, 0, os::kKeyAllAccess, nullptr, &key,
                                  nullptr) == os::kErrorSuccess) {
      registry_.RegCloseKey(key);
    }
  }
}

}  // namespace sim
