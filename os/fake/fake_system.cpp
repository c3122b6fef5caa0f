#include "os/fake/fake_system.h"

namespace os::fake {

FakeSystem::FakeSystem()
    : files(errors, faults),
      text(errors, faults),
      devices(errors, faults),
      version(errors),
      system_{errors, files, debug, text, devices, version} {
  errors.SetLastError(0);
}

}  // namespace os::fake
