#include <windows.h>

#include "os/win32/wide.h"
#include "os/win32/win32_system.h"

namespace os::win32 {
namespace {

using IsWow64 = ::BOOL(WINAPI*)(::HANDLE, ::PBOOL);

}  // namespace

HANDLE Win32Process::GetCurrentProcess() { return ::GetCurrentProcess(); }

HMODULE Win32Process::GetModuleHandleW(const char16_t* moduleName) {
  return ::GetModuleHandleW(Wide(moduleName));
}

ProcAddress Win32Process::GetProcAddress(HMODULE module, const char* name) {
  return reinterpret_cast<ProcAddress>(
      ::GetProcAddress(static_cast<::HMODULE>(module), name));
}

BOOL Win32Process::IsWow64Process(ProcAddress routine, HANDLE process, BOOL* wow64) {
  ::BOOL value = FALSE;
  const ::BOOL ok = reinterpret_cast<IsWow64>(routine)(process, &value);
  if (wow64 != nullptr) *wow64 = value;
  return ok;
}

BOOL Win32Process::BlockInput(BOOL block) { return ::BlockInput(block); }

}  // namespace os::win32
