// The handful of Win32 scalar and handle types the seam speaks in. They
// have the widths of the 32-bit Windows ABI on every build, so portable
// code sees the same values the real calls would hand back.
#pragma once

#include <cstdint>

namespace os {

using DWORD = std::uint32_t;
using BOOL = std::int32_t;
using UINT = std::uint32_t;
using HANDLE = void*;
using HMODULE = void*;

constexpr BOOL kFalse = 0;
constexpr BOOL kTrue = 1;

// INVALID_HANDLE_VALUE: the all-ones pointer.
inline HANDLE InvalidHandleValue() {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
}

}  // namespace os
