#include <windows.h>

#include "os/win32/native.h"
#include "os/win32/win32_system.h"

namespace os::win32 {

int Win32Text::MultiByteToWideChar(UINT codePage, DWORD flags,
                                   const char* multiByte, int multiByteCount,
                                   char16_t* wide, int wideCount) {
  return ::MultiByteToWideChar(codePage, flags, multiByte, multiByteCount,
                               Wide(wide), wideCount);
}

int Win32Text::WideCharToMultiByte(UINT codePage, DWORD flags,
                                   const char16_t* wide, int wideCount,
                                   char* multiByte, int multiByteCount,
                                   const char* defaultChar,
                                   BOOL* usedDefaultChar) {
  ::BOOL usedDefault = FALSE;
  const int result = ::WideCharToMultiByte(
      codePage, flags, Wide(wide), wideCount, multiByte, multiByteCount,
      defaultChar, usedDefaultChar != nullptr ? &usedDefault : nullptr);
  if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault;
  return result;
}

}  // namespace os::win32
