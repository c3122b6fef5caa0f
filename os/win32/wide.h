// char16_t and wchar_t are both UTF-16 code units on Windows; the binding
// hands our strings to the API through these two casts only.
#pragma once

#include <windows.h>

namespace os::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* Wide(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}

inline wchar_t* Wide(char16_t* text) {
  return reinterpret_cast<wchar_t*>(text);
}

}  // namespace os::win32
