#include <windows.h>
#include <commctrl.h>

#include "os/win32/win32_system.h"

namespace os::win32 {

BOOL Win32CommonControls::InitCommonControlsEx(const InitCommonControlsExInfo* info) {
  if (info == nullptr) return ::InitCommonControlsEx(nullptr);
  INITCOMMONCONTROLSEX native{};
  native.dwSize = info->dwSize;
  native.dwICC = info->dwICC;
  return ::InitCommonControlsEx(&native);
}

}  // namespace os::win32
