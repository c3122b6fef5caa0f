// The fake's devices: models registered under device paths, opened with
// CreateFileW and driven with DeviceIoControl. ScriptedDevice records each
// request block and answers from a script.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "os/devices.h"
#include "os/errors.h"
#include "os/fake/faults.h"
#include "os/memory/symbolic_links.h"

namespace os::fake {

// What answers the I/O control calls on one device path. The input and
// output buffers may be the same block.
class DeviceModel {
 public:
  virtual ~DeviceModel() = default;
  // TRUE with `returned` set, or FALSE with `error` set.
  virtual BOOL Control(DWORD code, const void* in, DWORD inSize, void* out,
                       DWORD outSize, DWORD& returned, DWORD& error) = 0;
};

class ScriptedDevice final : public DeviceModel {
 public:
  struct Request {
    DWORD code;
    std::vector<std::uint8_t> input;
    DWORD outSize;
  };
  struct Response {
    BOOL result = kTrue;
    DWORD error = 0;
    // Copied over the start of the output buffer.
    std::vector<std::uint8_t> output;
    // Bytes reported as returned; the bytes copied when not given.
    std::optional<DWORD> returned;
  };

  BOOL Control(DWORD code, const void* in, DWORD inSize, void* out,
               DWORD outSize, DWORD& returned, DWORD& error) override;

  std::deque<Response> responses;
  std::vector<Request> requests;
};

class FakeDevices final : public Devices {
 public:
  FakeDevices(Errors& errors, Faults& faults) : errors_(errors), faults_(faults) {}

  void Add(const std::u16string& path, std::shared_ptr<DeviceModel> model);
  // How many handles to `path` were closed, and how many are open.
  int Closes(const std::u16string& path) const;
  int OpenHandles() const;

  DeviceHandle CreateFileW(const char16_t* name, DWORD desiredAccess,
                           DWORD shareMode, void* securityAttributes,
                           DWORD creationDisposition, DWORD flagsAndAttributes,
                           DeviceHandle templateFile) override;
  BOOL DeviceIoControl(DeviceHandle device, DWORD ioControlCode, void* inBuffer,
                       DWORD inBufferSize, void* outBuffer,
                       DWORD outBufferSize, DWORD* bytesReturned,
                       void* overlapped) override;
  BOOL CloseHandle(DeviceHandle object) override;
  BOOL DuplicateHandle(ProcessHandle sourceProcess, DeviceHandle source,
                       ProcessHandle targetProcess, DeviceHandle* target,
                       DWORD desiredAccess, BOOL inheritHandle, DWORD options) override;
  NTSTATUS NtOpenSymbolicLinkObject(ProcAddress routine, HANDLE* link,
                                    DWORD desiredAccess,
                                    ObjectAttributes* attributes) override;
  NTSTATUS NtQuerySymbolicLinkObject(ProcAddress routine, HANDLE link,
                                     UnicodeString* target,
                                     std::uint32_t* returnedLength) override;
  NTSTATUS NtClose(ProcAddress routine, HANDLE object) override;

  memory::SymbolicLinks links;

 private:
  static std::u16string KeyOf(const std::u16string& path);

  Errors& errors_;
  Faults& faults_;
  mutable std::mutex mutex_;
  std::map<std::u16string, std::shared_ptr<DeviceModel>> models_;
  std::map<DeviceHandle, std::u16string> handles_;
  std::map<std::u16string, int> closes_;
  std::uintptr_t nextHandle_ = 0x80000;
};

}  // namespace os::fake
