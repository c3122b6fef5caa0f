// What a contract test needs from the system under test, and which
// bindings a build has. The host build runs each case against the fake
// (and, for the areas it implements, the POSIX binding), the Windows build
// against the Win32 binding; where they disagree, the fake is wrong.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "os/system.h"

namespace contract {

class Env {
 public:
  virtual ~Env() = default;
  virtual os::System& system() = 0;
  // An existing, empty folder, as an absolute path without a trailing
  // separator.
  virtual std::u16string ScratchFolder() = 0;
  // The file name of the running test program.
  virtual std::u16string ProgramName() = 0;
};

struct Binding {
  std::string name;
  std::function<std::unique_ptr<Env>()> make;
  friend void PrintTo(const Binding& binding, std::ostream* out) { *out << binding.name; }
};

// The bindings of every area.
std::vector<Binding> WholeSystems();
// Those, and the bindings that implement only files, text and errors.
std::vector<Binding> FileAndTextSystems();

}  // namespace contract
