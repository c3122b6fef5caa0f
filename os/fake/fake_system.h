// An in-memory Windows for tests: every area of the seam in one object,
// sharing one fault switch and one per-thread last error.
#pragma once

#include "os/fake/fake_debug.h"
#include "os/fake/fake_devices.h"
#include "os/fake/fake_errors.h"
#include "os/fake/fake_files.h"
#include "os/fake/fake_process.h"
#include "os/fake/fake_registry.h"
#include "os/fake/fake_services.h"
#include "os/fake/fake_shell.h"
#include "os/fake/fake_text.h"
#include "os/fake/fake_version.h"
#include "os/fake/faults.h"
#include "os/system.h"

namespace os::fake {

class FakeSystem {
 public:
  FakeSystem();
  FakeSystem(const FakeSystem&) = delete;
  FakeSystem& operator=(const FakeSystem&) = delete;

  System& system() { return system_; }

  Faults faults;
  FakeErrors errors;
  FakeFiles files;
  FakeDebug debug;
  FakeText text;
  FakeDevices devices;
  FakeVersion version;
  FakeServices services;
  FakeProcess process;
  FakePower power;
  FakeMessages messages;
  FakeRegistry registry;
  FakeSetup setup;

 private:
  System system_;
};

// Installs a fresh fake for the lifetime of the guard.
class ScopedFakeSystem : public FakeSystem {
 public:
  ScopedFakeSystem() : guard_(system()) {}

 private:
  ScopedSystem guard_;
};

}  // namespace os::fake
