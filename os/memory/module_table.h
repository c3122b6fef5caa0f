// Modules and routines as an in-memory system serves them: the ntdll and
// kernel32 entry points the system looks up, each with a stand-in address
// that is distinct and never called. The area that is then called with an
// address checks it against StandInRoutine, as a real routine would only
// do its own work. Modules the table does not hold go to `fallback`, and
// so do libraries loaded on demand when there is one; without one, the
// table loads the few libraries the system asks for and counts the loads.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "os/errors.h"
#include "os/memory/call_gate.h"
#include "os/modules.h"

namespace os::memory {

class ModuleTable final : public Modules {
 public:
  // Which modules the table answers: ntdll, kernel32 or both.
  enum class Serves { kNtdll, kAll };

  // The gate names a look-up of routine N "GetProcAddress(N)".
  ModuleTable(Errors& errors, Serves serves, CallGate* gate = nullptr,
              Modules* fallback = nullptr);

  // Takes `routine` out of `module`, as an older Windows lacks it.
  void Remove(std::u16string_view module, std::string_view routine);

  HMODULE GetModuleHandleW(const char16_t* moduleName) override;
  ProcAddress GetProcAddress(HMODULE module, const char* name) override;
  HMODULE LoadLibraryW(const char16_t* fileName) override;
  BOOL FreeLibrary(HMODULE module) override;

  // Loads of the library of that name (any letter case, with or without
  // ".dll") not yet freed.
  int Loaded(std::u16string_view fileName) const;

 private:
  struct Library {
    std::unique_ptr<char> standIn;  // its address is the handle
    int loads = 0;
  };
  Errors& errors_;
  CallGate* gate_;
  Modules* fallback_;
  mutable std::mutex mutex_;
  std::set<std::pair<std::u16string, std::string>> exports_;
  std::map<std::u16string, Library> libraries_;
};

// The address a table hands out for `routine`, or null for one it never
// serves.
ProcAddress StandInRoutine(std::string_view routine);

}  // namespace os::memory
