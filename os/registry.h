// The registry, with Win32's status codes as results.
#pragma once

#include <cstdint>

#include "os/types.h"

namespace os {

using LSTATUS = std::int32_t;

inline HKEY HkeyLocalMachine() { return reinterpret_cast<HKEY>(std::uintptr_t{0x80000002u}); }
inline HKEY HkeyCurrentUser() { return reinterpret_cast<HKEY>(std::uintptr_t{0x80000001u}); }

class Registry {
 public:
  virtual ~Registry() = default;
  virtual LSTATUS RegOpenKeyExW(HKEY key, const char16_t* subKey, DWORD options,
                                DWORD desiredAccess, HKEY* result) = 0;
  virtual LSTATUS RegCreateKeyExW(HKEY key, const char16_t* subKey, DWORD reserved,
                                  char16_t* className, DWORD options, DWORD desiredAccess,
                                  void* securityAttributes, HKEY* result,
                                  DWORD* disposition) = 0;
  virtual LSTATUS RegQueryValueExW(HKEY key, const char16_t* valueName, DWORD* reserved,
                                   DWORD* type, std::uint8_t* data, DWORD* dataSize) = 0;
  virtual LSTATUS RegSetValueExW(HKEY key, const char16_t* valueName, DWORD reserved,
                                 DWORD type, const std::uint8_t* data, DWORD dataSize) = 0;
  virtual LSTATUS RegDeleteValueW(HKEY key, const char16_t* valueName) = 0;
  virtual LSTATUS RegDeleteTreeW(HKEY key, const char16_t* subKey) = 0;
  virtual LSTATUS RegCloseKey(HKEY key) = 0;
};

}  // namespace os
