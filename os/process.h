// The process and the machine's input: the WOW64 test through kernel32's
// IsWow64Process, looked up at run time, and BlockInput.
#pragma once

#include <cstdint>

#include "os/devices.h"
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
  HANDLE hProcess;
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
  virtual HANDLE GetCurrentProcess() = 0;
  // Look-ups in kernel32 (the devices area answers those in ntdll).
  virtual HMODULE GetModuleHandleW(const char16_t* moduleName) = 0;
  virtual ProcAddress GetProcAddress(HMODULE module, const char* name) = 0;
  // Called through the address GetProcAddress gave.
  virtual BOOL IsWow64Process(ProcAddress routine, HANDLE process, BOOL* wow64) = 0;
  virtual BOOL BlockInput(BOOL block) = 0;
  // WOW64 file-system redirection, through the addresses GetProcAddress gave.
  virtual BOOL Wow64DisableWow64FsRedirection(ProcAddress routine, void** oldValue) = 0;
  virtual BOOL Wow64RevertWow64FsRedirection(ProcAddress routine, void* oldValue) = 0;

  virtual BOOL CreateProcessW(const char16_t* applicationName, char16_t* commandLine,
                              void* processAttributes, void* threadAttributes,
                              BOOL inheritHandles, DWORD creationFlags, void* environment,
                              const char16_t* currentDirectory, StartupInfo* startupInfo,
                              ProcessInformation* processInformation) = 0;
  virtual DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) = 0;
  virtual BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) = 0;
  virtual DWORD GetEnvironmentVariableW(const char16_t* name, char16_t* buffer,
                                        DWORD size) = 0;
  // Process and thread handles.
  virtual BOOL CloseHandle(HANDLE object) = 0;
};

}  // namespace os
