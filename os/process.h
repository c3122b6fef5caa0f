// The process and the machine's input: the WOW64 test through kernel32's
// IsWow64Process, looked up at run time, and BlockInput.
#pragma once

#include "os/devices.h"
#include "os/types.h"

namespace os {

class Process {
 public:
  virtual ~Process() = default;
  virtual HANDLE GetCurrentProcess() = 0;
  // Look-ups in kernel32 (the devices area answers those in ntdll).
  virtual HMODULE GetModuleHandleW(const char16_t* moduleName) = 0;
  virtual ProcAddress GetProcAddress(HMODULE module, const char* name) = 0;
  // Called through the address GetProcAddress gave.
  virtual BOOL IsWow64Process(ProcAddress routine, HANDLE process, BOOL* wow64) = 0;
  virtual BOOL BlockInput(BOOL block) = 0;
};

}  // namespace os
