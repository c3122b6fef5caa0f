// One owner for every kind of handle: move-only, closed in its destructor.
// A kind is a traits type that says what counts as empty and how to close;
// each kind is a one-line alias below.
#pragma once

#include <utility>

#include "os/system.h"
#include "os/types.h"

namespace os {

template <class Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ~ScopedHandle() { Close(); }

  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  [[nodiscard]] bool IsValid() const { return !Traits::IsEmpty(handle_); }
  [[nodiscard]] Handle Get() const { return handle_; }

  // Hands ownership to the caller.
  [[nodiscard]] Handle Release() {
    return std::exchange(handle_, Traits::Empty());
  }

  void Reset(Handle handle = Traits::Empty()) {
    Close();
    handle_ = handle;
  }

 private:
  // Closing never disturbs the last error the caller is about to read.
  void Close() {
    if (Traits::IsEmpty(handle_)) return;
    Errors& errors = Sys().errors;
    const DWORD saved = errors.GetLastError();
    Traits::Close(std::exchange(handle_, Traits::Empty()));
    errors.SetLastError(saved);
  }

  Handle handle_ = Traits::Empty();
};

// Files opened through the files area: both NULL and INVALID_HANDLE_VALUE
// mean "no file".
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return InvalidHandleValue(); }
  static bool IsEmpty(Handle h) {
    return h == nullptr || h == InvalidHandleValue();
  }
  static void Close(Handle h) { Sys().files.CloseHandle(h); }
};

using UniqueFileHandle = ScopedHandle<FileHandleTraits>;

// Physical drives and the driver's device, opened through the devices area.
struct DeviceHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return InvalidHandleValue(); }
  static bool IsEmpty(Handle h) {
    return h == nullptr || h == InvalidHandleValue();
  }
  static void Close(Handle h) { Sys().devices.CloseHandle(h); }
};

using UniqueDeviceHandle = ScopedHandle<DeviceHandleTraits>;

// Registry keys opened or created through the registry area.
struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Empty() { return nullptr; }
  static bool IsEmpty(Handle h) { return h == nullptr; }
  static void Close(Handle h) { Sys().registry.RegCloseKey(h); }
};

using UniqueRegistryKey = ScopedHandle<RegistryKeyTraits>;

// SetupAPI device information sets.
struct DeviceInfoSetTraits {
  using Handle = HDEVINFO;
  static Handle Empty() { return InvalidHandleValue(); }
  static bool IsEmpty(Handle h) { return h == nullptr || h == InvalidHandleValue(); }
  static void Close(Handle h) { Sys().setup.SetupDiDestroyDeviceInfoList(h); }
};

using UniqueDeviceInfoSet = ScopedHandle<DeviceInfoSetTraits>;

}  // namespace os
