// One owner for every kind of handle: move-only, closed in its destructor.
// A kind is a traits type that says what counts as empty and how to close;
// each kind is a one-line alias below.
//
// A handle is closed by the area that made it: a file through the files
// area, a drive through the devices area, and so on. That is what lets the
// simulated machine's devices live beside real files in one process, and
// the traits are the one place that knows it.
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

  [[nodiscard]] bool IsValid() const { return !IsEmpty(handle_); }
  [[nodiscard]] Handle Get() const { return handle_; }

  // Hands ownership to the caller.
  [[nodiscard]] Handle Release() { return std::exchange(handle_, Traits::Empty()); }

  void Reset(Handle handle = Traits::Empty()) {
    Close();
    handle_ = handle;
  }

  // For the calls that hand a new handle back through an out parameter:
  // closes the one held and lends the slot.
  [[nodiscard]] Handle* Put() {
    Reset();
    return &handle_;
  }

 private:
  static bool IsEmpty(Handle h) {
    return h == nullptr || (Traits::kInvalidMeansEmpty && h == InvalidHandleValue());
  }

  // Closing never disturbs the last error the caller is about to read.
  void Close() {
    if (IsEmpty(handle_)) return;
    Errors& errors = Sys().errors;
    const DWORD saved = errors.GetLastError();
    Traits::Close(std::exchange(handle_, Traits::Empty()));
    errors.SetLastError(saved);
  }

  Handle handle_ = Traits::Empty();
};

// Kinds whose failed opens give INVALID_HANDLE_VALUE: both it and NULL
// mean "none".
template <class H>
struct InvalidOrNull {
  using Handle = H;
  static constexpr bool kInvalidMeansEmpty = true;
  static Handle Empty() { return InvalidHandleValue(); }
};

// Kinds whose failed opens give NULL.
template <class H>
struct NullOnly {
  using Handle = H;
  static constexpr bool kInvalidMeansEmpty = false;
  static Handle Empty() { return nullptr; }
};

struct FileHandleTraits : InvalidOrNull<FileHandle> {
  static void Close(Handle h) { Sys().files.CloseHandle(h); }
};
struct DeviceHandleTraits : InvalidOrNull<DeviceHandle> {
  static void Close(Handle h) { Sys().devices.CloseHandle(h); }
};
struct RegistryKeyTraits : NullOnly<HKEY> {
  static void Close(Handle h) { Sys().registry.RegCloseKey(h); }
};
struct ServiceHandleTraits : NullOnly<SC_HANDLE> {
  static void Close(Handle h) { Sys().services.CloseServiceHandle(h); }
};
struct DeviceInfoSetTraits : InvalidOrNull<HDEVINFO> {
  static void Close(Handle h) { Sys().setup.SetupDiDestroyDeviceInfoList(h); }
};
struct TokenHandleTraits : NullOnly<TokenHandle> {
  static void Close(Handle h) { Sys().power.CloseHandle(h); }
};
struct ProcessHandleTraits : NullOnly<ProcessHandle> {
  static void Close(Handle h) { Sys().process.CloseHandle(h); }
};
// Thread handles from CreateProcessW, closed through the process area.
struct ThreadHandleTraits : NullOnly<HANDLE> {
  static void Close(Handle h) { Sys().process.CloseHandle(h); }
};

// An NT symbolic link, closed through the NtClose routine the modules area
// handed out: the one owner that carries its closing routine with it.
class UniqueSymbolicLink {
 public:
  explicit UniqueSymbolicLink(ProcAddress ntClose) : ntClose_(ntClose) {}
  ~UniqueSymbolicLink() {
    if (link_ == nullptr) return;
    Errors& errors = Sys().errors;
    const DWORD saved = errors.GetLastError();
    Sys().devices.NtClose(ntClose_, link_);
    errors.SetLastError(saved);
  }
  UniqueSymbolicLink(const UniqueSymbolicLink&) = delete;
  UniqueSymbolicLink& operator=(const UniqueSymbolicLink&) = delete;

  [[nodiscard]] HANDLE Get() const { return link_; }
  // For NtOpenSymbolicLinkObject, before anything is open.
  [[nodiscard]] HANDLE* Put() { return &link_; }

 private:
  ProcAddress ntClose_;
  HANDLE link_ = nullptr;
};

using UniqueFileHandle = ScopedHandle<FileHandleTraits>;
using UniqueDeviceHandle = ScopedHandle<DeviceHandleTraits>;
using UniqueRegistryKey = ScopedHandle<RegistryKeyTraits>;
using UniqueServiceHandle = ScopedHandle<ServiceHandleTraits>;
using UniqueDeviceInfoSet = ScopedHandle<DeviceInfoSetTraits>;
using UniqueTokenHandle = ScopedHandle<TokenHandleTraits>;
using UniqueProcessHandle = ScopedHandle<ProcessHandleTraits>;
using UniqueThreadHandle = ScopedHandle<ThreadHandleTraits>;

}  // namespace os
