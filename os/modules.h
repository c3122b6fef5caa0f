// Modules already loaded in the process and the routines they export,
// for the entry points that are looked up at run time (ntdll's symbolic
// links, kernel32's WOW64 calls). The routine is then called through the
// area it belongs to, with the address handed out here.
#pragma once

#include "os/types.h"

namespace os {

// A routine GetProcAddress handed out; only the area that calls it
// interprets it.
using ProcAddress = void*;

class Modules {
 public:
  virtual ~Modules() = default;
  virtual HMODULE GetModuleHandleW(const char16_t* moduleName) = 0;
  virtual ProcAddress GetProcAddress(HMODULE module, const char* name) = 0;
};

}  // namespace os
