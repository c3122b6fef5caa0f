#include <windows.h>
#include <ole2.h>

#include "os/win32/win32_system.h"

namespace os::win32 {

HRESULT Win32Ole::OleInitialize(void* reserved) { return ::OleInitialize(reserved); }

void Win32Ole::OleUninitialize() { ::OleUninitialize(); }

}  // namespace os::win32
