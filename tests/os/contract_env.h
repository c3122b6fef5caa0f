// What a contract test needs from the system under test. The host build
// links the fake's environment, the Windows build the Win32 binding's; the
// same cases run against both, and where they disagree the fake is wrong.
#pragma once

#include <memory>
#include <string>

#include "os/system.h"

namespace contract {

class Env {
 public:
  virtual ~Env() = default;
  virtual os::System& system() = 0;
  // An existing, empty folder, as an absolute path without a trailing
  // separator.
  virtual std::u16string ScratchFolder() = 0;
};

std::unique_ptr<Env> MakeEnv();

}  // namespace contract
