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

}  // namespace os::win32
