// Our strings and handles as the API takes them. char16_t and wchar_t are
// both UTF-16 code units on Windows, and each of our handle kinds carries
// the bits Windows handed out; the binding converts through these casts
// only.
#pragma once

#include <windows.h>

namespace os::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* Wide(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}

inline wchar_t* Wide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }

// One of our handle kinds as the Win32 type `Native` (HANDLE, HKEY, ...).
template <class Native = ::HANDLE, class Object>
Native ToNative(Object* handle) {
  return reinterpret_cast<Native>(handle);
}

// A Win32 handle as our kind `Ours`.
template <class Ours, class Native>
Ours FromNative(Native handle) {
  return reinterpret_cast<Ours>(handle);
}

}  // namespace os::win32
