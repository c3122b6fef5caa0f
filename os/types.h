// The handful of Win32 scalar types the seam speaks in, and one opaque
// type per kind of handle. The scalars have the widths of the 32-bit
// Windows ABI on every build, so portable code sees the same values the
// real calls would hand back. Win32 itself gives most kinds the one type
// HANDLE; here each kind has its own, so a registry key cannot be passed
// where a service handle is expected. Where Win32 has a name for a kind
// (HKEY, SC_HANDLE, HDEVINFO, HMODULE, HWND) the seam keeps it.
#pragma once

#include <cstdint>

namespace os {

using DWORD = std::uint32_t;
using BOOL = std::int32_t;
using UINT = std::uint32_t;

constexpr BOOL kFalse = 0;
constexpr BOOL kTrue = 1;

struct KernelObject;
struct FileObject;
struct DeviceObject;
struct RegistryKeyObject;
struct ServiceObject;
struct DeviceInfoSetObject;
struct ModuleObject;
struct TokenObject;
struct ProcessObject;
struct WindowObject;

// Kernel objects of no kind of their own: threads, symbolic links.
using HANDLE = KernelObject*;
// Files and folders opened through the files area.
using FileHandle = FileObject*;
// Physical drives and the firmware driver's device.
using DeviceHandle = DeviceObject*;
using HKEY = RegistryKeyObject*;
using SC_HANDLE = ServiceObject*;
using HDEVINFO = DeviceInfoSetObject*;
using HMODULE = ModuleObject*;
// Access tokens (OpenProcessToken).
using TokenHandle = TokenObject*;
using ProcessHandle = ProcessObject*;
using HWND = WindowObject*;

// INVALID_HANDLE_VALUE, the all-ones pointer, of whichever kind it is
// compared with or assigned to.
struct InvalidHandleValueType {
  template <class Object>
  operator Object*() const {
    return reinterpret_cast<Object*>(static_cast<std::intptr_t>(-1));
  }
};

constexpr InvalidHandleValueType InvalidHandleValue() { return {}; }

}  // namespace os
