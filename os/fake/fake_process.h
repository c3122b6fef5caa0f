// The fake's processes: whether this one runs under WOW64, its file-system
// redirection, the processes it starts (scripted exit codes) and its
// environment.
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

  void SetWow64(bool wow64) { wow64_ = wow64; }
  // Whether WOW64 redirection is switched off now, and how often it was.
  bool RedirectionOff() const { return redirectionOff_; }
  int redirectionSwitches = 0;

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
  DWORD WaitForSingleObject(ProcessHandle object, DWORD milliseconds) override;
  BOOL GetExitCodeProcess(ProcessHandle process, DWORD* exitCode) override;
  // Sleeps for real unless sleeps are instant.
  void Sleep(DWORD milliseconds) override;
  void SetInstantSleeps(bool instant) { instantSleeps_ = instant; }
  DWORD GetEnvironmentVariableW(const char16_t* name, char16_t* buffer, DWORD size) override;
  // The program's command line, as Windows hands it over unsplit.
  std::u16string commandLine = u"\"C:\\app\\VLXFMWizardApp.exe\"";
  const char16_t* GetCommandLineW() override { return commandLine.c_str(); }
  BOOL CloseHandle(ProcessHandle object) override;
  BOOL CloseHandle(HANDLE object) override;

  ProcessHandle GetCurrentProcess() override;
  BOOL IsWow64Process(ProcAddress routine, ProcessHandle process, BOOL* wow64) override;
  BOOL Wow64DisableWow64FsRedirection(ProcAddress routine, void** oldValue) override;
  BOOL Wow64RevertWow64FsRedirection(ProcAddress routine, void* oldValue) override;

 private:
  Errors& errors_;
  Faults& faults_;
  BOOL Close(std::uintptr_t object);

  bool wow64_ = false;
  std::atomic<bool> instantSleeps_{false};
  bool redirectionOff_ = false;
  mutable std::mutex mutex_;
  std::vector<Started> started_;
  std::map<std::uintptr_t, DWORD> open_;  // process and thread handles, with exit codes
  std::uintptr_t next_ = 0x6600000;
};

}  // namespace os::fake
