// Modules of the process and the routines they export, for the entry
// points that are looked up at run time (ntdll's symbolic links, kernel32's
// WOW64 calls), and the libraries loaded on demand (the rich edit
// control's). A routine is then called through the area it belongs to,
// with the address handed out here.
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
  virtual HMODULE LoadLibraryW(const char16_t* fileName) = 0;
  virtual BOOL FreeLibrary(HMODULE module) = 0;
};

}  // namespace os
