// An in-memory Windows for tests: every area of the seam in one object,
// sharing one fault switch and one per-thread last error.
#pragma once

#include "os/fake/fake_debug.h"
#include "os/fake/fake_devices.h"
#include "os/fake/fake_errors.h"
#include "os/fake/fake_files.h"
#include "os/fake/fake_input.h"
#include "os/fake/fake_messages.h"
#include "os/fake/fake_power.h"
#include "os/fake/fake_process.h"
#include "os/fake/fake_resources.h"
#include "os/fake/fake_text.h"
#include "os/fake/fake_common_controls.h"
#include "os/fake/fake_ole.h"
#include "os/fake/fake_sockets.h"
#include "os/fake/fake_version.h"
#include "os/fake/faults.h"
#include "os/memory/device_info_sets.h"
#include "os/memory/module_table.h"
#include "os/memory/registry_tree.h"
#include "os/memory/service_database.h"
#include "os/system.h"

namespace os::fake {

class FakeSystem {
 public:
  FakeSystem();
  FakeSystem(const FakeSystem&) = delete;
  FakeSystem& operator=(const FakeSystem&) = delete;

  System& system() { return system_; }

  // First, so that it is destroyed last and sees every fault the areas
  // could have taken.
  Faults faults;
  FakeErrors errors;
  FakeFiles files;
  FakeDebug debug;
  FakeText text;
  FakeResources resources;
  memory::ModuleTable modules;
  FakeDevices devices;
  FakeVersion version;
  memory::ServiceDatabase services;
  FakeProcess process;
  FakeInput input;
  FakePower power;
  FakeMessages messages;
  memory::RegistryTree registry;
  memory::DeviceInfoSets setup;
  FakeCommonControls commonControls;
  FakeSockets sockets;
  FakeOle ole;

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
