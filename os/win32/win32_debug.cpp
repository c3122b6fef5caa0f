#include <windows.h>

#include "os/win32/native.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

void Win32Debug::OutputDebugStringW(const char16_t* text) {
  ::OutputDebugStringW(Wide(text));
}

}  // namespace os::win32
