#include <windows.h>

#include "os/win32/win32_system.h"

namespace os::win32 {

BOOL Win32Input::BlockInput(BOOL block) { return ::BlockInput(block); }

}  // namespace os::win32
