// Processes: the running one (its WOW64 test and file-system redirection,
// through kernel32 routines the modules area looks up), the ones it starts
// and waits for, and its environment.
#pragma once

#include <cstdint>

#include "os/modules.h"
#include "os/types.h"

namespace os {

// STARTUPINFOW: the fields the system sets; the binding fills in the rest.
struct StartupInfo {
  DWORD cb;
  DWORD dwFlags;
  std::uint16_t wShowWindow;
};

// PROCESS_INFORMATION.
struct ProcessInformation {
  ProcessHandle hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
};

constexpr DWORD kStartupInfoSize = 68;  // sizeof(STARTUPINFOW), 32-bit
constexpr DWORD kStartfUseShowWindow = 0x1;
constexpr std::uint16_t kSwHide = 0;
constexpr std::uint16_t kSwShowNormal = 1;
constexpr DWORD kInfinite = 0xFFFFFFFFu;

class Process {
 public:
  virtual ~Process() = default;
  virtual ProcessHandle GetCurrentProcess() = 0;
  // Called through the address GetProcAddress gave.
  virtual BOOL IsWow64Process(ProcAddress routine, ProcessHandle process, BOOL* wow64) = 0;
  // WOW64 file-system redirection, through the addresses GetProcAddress gave.
  virtual BOOL Wow64DisableWow64FsRedirection(ProcAddress routine, void** oldValue) = 0;
  virtual BOOL Wow64RevertWow64FsRedirection(ProcAddress routine, void* oldValue) = 0;

  virtual BOOL CreateProcessW(const char16_t* applicationName, char16_t* commandLine,
                              void* processAttributes, void* threadAttributes,
                              BOOL inheritHandles, DWORD creationFlags, void* environment,
                              const char16_t* currentDirectory, StartupInfo* startupInfo,
                              ProcessInformation* processInformation) = 0;
  // The system waits for processes only.
  virtual DWORD WaitForSingleObject(ProcessHandle object, DWORD milliseconds) = 0;
  virtual BOOL GetExitCodeProcess(ProcessHandle process, DWORD* exitCode) = 0;
  // Suspends the calling thread.
  virtual void Sleep(DWORD milliseconds) = 0;
  virtual DWORD GetEnvironmentVariableW(const char16_t* name, char16_t* buffer,
                                        DWORD size) = 0;
  // The process's whole command line, program name first.
  virtual const char16_t* GetCommandLineW() = 0;
  virtual BOOL CloseHandle(ProcessHandle object) = 0;
  // The thread handle CreateProcessW hands back.
  virtual BOOL CloseHandle(HANDLE object) = 0;
};

}  // namespace os
