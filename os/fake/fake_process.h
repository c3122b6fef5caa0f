// The fake's process: whether it runs under WOW64 (or cannot tell), and the
// state of the machine's input.
#pragma once

#include <atomic>
#include <vector>
#include <mutex>

#include "os/errors.h"
#include "os/fake/faults.h"
#include "os/process.h"

namespace os::fake {

class FakeProcess final : public Process {
 public:
  FakeProcess(Errors& errors, Faults& faults) : errors_(errors), faults_(faults) {}

  // Without IsWow64Process in kernel32, GetProcAddress finds nothing.
  void SetWow64(bool present, bool wow64) {
    wow64Present_ = present;
    wow64_ = wow64;
  }
  bool InputBlocked() const { return inputBlocked_.load(); }
  std::vector<BOOL> BlockInputCalls() const;

  HANDLE GetCurrentProcess() override;
  HMODULE GetModuleHandleW(const char16_t* moduleName) override;
  ProcAddress GetProcAddress(HMODULE module, const char* name) override;
  BOOL IsWow64Process(ProcAddress routine, HANDLE process, BOOL* wow64) override;
  BOOL BlockInput(BOOL block) override;

 private:
  Errors& errors_;
  Faults& faults_;
  bool wow64Present_ = true;
  bool wow64_ = false;
  std::atomic<bool> inputBlocked_{false};
  mutable std::mutex mutex_;
  std::vector<BOOL> blockCalls_;
};

}  // namespace os::fake
