#include <windows.h>

#include "os/win32/native.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

int Win32Resources::LoadStringW(HMODULE module, UINT id, char16_t* buffer, int bufferMax) {
  const ::HMODULE instance =
      module != nullptr ? ToNative<::HMODULE>(module) : ::GetModuleHandleW(nullptr);
  return ::LoadStringW(instance, id, Wide(buffer), bufferMax);
}

}  // namespace os::win32
