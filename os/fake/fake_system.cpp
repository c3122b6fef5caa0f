#include "os/fake/fake_system.h"

#include "os/constants.h"

namespace os::fake {

FakeSystem::FakeSystem()
    : files(errors, faults),
      text(errors, faults),
      devices(errors, faults),
      version(errors),
      services(errors, faults),
      process(errors, faults),
      power(errors, faults),
      registry(faults),
      setup(errors, faults),
      system_{errors,   files,   debug, text,     devices, version,
              services, process, power, messages, registry, setup} {
  errors.SetLastError(0);
  // As on Windows, a driver whose binary is missing does not start.
  services.OnStart([this](const std::u16string&, const FakeServices::Service& service) {
    return files.Exists(service.binaryPath) ? kErrorSuccess : kErrorFileNotFound;
  });
}

}  // namespace os::fake
