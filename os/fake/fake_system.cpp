#include "os/fake/fake_system.h"

#include "os/constants.h"

namespace os::fake {

FakeSystem::FakeSystem()
    : files(errors, faults),
      text(errors, faults),
      resources(errors, faults),
      modules(errors, memory::ModuleTable::Serves::kAll, &faults),
      devices(errors, faults),
      version(errors, faults),
      services(errors, &faults),
      process(errors, faults),
      power(errors, faults),
      registry(&faults),
      setup(errors, &faults),
      commonControls(errors, faults),
      sockets(faults),
      ole(faults),
      system_{errors,   files,   debug,    text,           resources, modules,
              devices,  version, services, process,        input,     power,
              messages, registry, setup,   commonControls, sockets,   ole} {
  errors.SetLastError(0);
  // As on Windows, a driver whose binary is missing does not start.
  services.OnStart([this](const std::u16string&, const memory::ServiceDatabase::Service& service) {
    return files.Exists(service.binaryPath) ? kErrorSuccess : kErrorFileNotFound;
  });
}

}  // namespace os::fake
