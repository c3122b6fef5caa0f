// The fake's process: whether it runs under WOW64 (or cannot tell), and the
// state of the machine's input.
#pragma once

#include <atomic>
#include <deque>
#include <map>
#include <string>
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
  // Whether WOW64 redirection is switched off now, and how often it was.
  bool RedirectionOff() const { return redirectionOff_; }
  int redirectionSwitches = 0;
  std::vector<BOOL> BlockInputCalls() const;

  // Processes started: what CreateProcessW was given.
  struct Started {
    std::u16string commandLine;
    std::u16string currentDirectory;  // empty: none given
    DWORD startupSize;
    DWORD startupFlags;
    std::uint16_t showWindow;
  };
  // How each started process ends, in order; exit code 0 when none is left.
  // A negative entry makes CreateProcessW itself fail with that error.
  std::deque<std::int64_t> exitCodes;
  std::map<std::u16string, std::u16string> environment;
  std::vector<Started> Processes() const;
  int OpenProcesses() const;

  BOOL CreateProcessW(const char16_t* applicationName, char16_t* commandLine,
                      void* processAttributes, void* threadAttributes, BOOL inheritHandles,
                      DWORD creationFlags, void* environment,
                      const char16_t* currentDirectory, StartupInfo* startupInfo,
                      ProcessInformation* processInformation) override;
  DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) override;
  BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) override;
  DWORD GetEnvironmentVariableW(const char16_t* name, char16_t* buffer, DWORD size) override;
  BOOL CloseHandle(HANDLE object) override;

  HANDLE GetCurrentProcess() override;
  HMODULE GetModuleHandleW(const char16_t* moduleName) override;
  ProcAddress GetProcAddress(HMODULE module, const char* name) override;
  BOOL IsWow64Process(ProcAddress routine, HANDLE process, BOOL* wow64) override;
  BOOL BlockInput(BOOL block) override;
  BOOL Wow64DisableWow64FsRedirection(ProcAddress routine, void** oldValue) override;
  BOOL Wow64RevertWow64FsRedirection(ProcAddress routine, void* oldValue) override;

 private:
  Errors& errors_;
  Faults& faults_;
  bool wow64Present_ = true;
  bool wow64_ = false;
  std::atomic<bool> inputBlocked_{false};
  bool redirectionOff_ = false;
  mutable std::mutex mutex_;
  std::vector<BOOL> blockCalls_;
  std::vector<Started> started_;
  std::map<HANDLE, DWORD> open_;  // process and thread handles, with exit codes
  std::uintptr_t next_ = 0x6600000;
};

}  // namespace os::fake
