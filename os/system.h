// The system seam: one object per process that holds every area of Windows
// the system talks to. The composition root installs it before anything
// runs; tests install a fake with ScopedSystem.
#pragma once

#include "os/common_controls.h"
#include "os/debug.h"
#include "os/devices.h"
#include "os/errors.h"
#include "os/files.h"
#include "os/input.h"
#include "os/messages.h"
#include "os/modules.h"
#include "os/ole.h"
#include "os/power.h"
#include "os/process.h"
#include "os/registry.h"
#include "os/resources.h"
#include "os/services.h"
#include "os/setup.h"
#include "os/sockets.h"
#include "os/text.h"
#include "os/version.h"

namespace os {

struct System {
  Errors& errors;
  Files& files;
  Debug& debug;
  Text& text;
  Resources& resources;
  Modules& modules;
  Devices& devices;
  Version& version;
  Services& services;
  Process& process;
  Input& input;
  Power& power;
  Messages& messages;
  Registry& registry;
  Setup& setup;
  CommonControls& commonControls;
  Sockets& sockets;
  Ole& ole;
};

// The installed system. Calling it before one is installed is a programming
// error and ends the process.
System& Sys();

// Installs `system` for the rest of the process (composition roots).
void InstallSystem(System& system);

// Installs `system` for the lifetime of the guard and puts the previous one
// back afterwards.
class ScopedSystem {
 public:
  explicit ScopedSystem(System& system);
  ~ScopedSystem();
  ScopedSystem(const ScopedSystem&) = delete;
  ScopedSystem& operator=(const ScopedSystem&) = delete;

 private:
  System* previous_;
};

}  // namespace os
