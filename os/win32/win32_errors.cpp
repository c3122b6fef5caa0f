#include <windows.h>

#include "os/win32/win32_system.h"

namespace os::win32 {

DWORD Win32Errors::GetLastError() { return ::GetLastError(); }

void Win32Errors::SetLastError(DWORD code) { ::SetLastError(code); }

}  // namespace os::win32
