#include <windows.h>
#include "os/win32/native.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

int Win32Messages::MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption,
                               UINT type) {
  return ::MessageBoxW(ToNative<::HWND>(owner), Wide(text), Wide(caption), type);
}

}  // namespace os::win32
