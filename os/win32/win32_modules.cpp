#include <windows.h>

#include "os/win32/native.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

HMODULE Win32Modules::GetModuleHandleW(const char16_t* moduleName) {
  return FromNative<HMODULE>(::GetModuleHandleW(Wide(moduleName)));
}

ProcAddress Win32Modules::GetProcAddress(HMODULE module, const char* name) {
  return reinterpret_cast<ProcAddress>(::GetProcAddress(ToNative<::HMODULE>(module), name));
}

HMODULE Win32Modules::LoadLibraryW(const char16_t* fileName) {
  return FromNative<HMODULE>(::LoadLibraryW(Wide(fileName)));
}

BOOL Win32Modules::FreeLibrary(HMODULE module) {
  return ::FreeLibrary(ToNative<::HMODULE>(module));
}

}  // namespace os::win32
