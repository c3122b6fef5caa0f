#include <windows.h>

#include "os/win32/native.h"
#include "os/win32/win32_system.h"

namespace os::win32 {
namespace {

using IsWow64 = ::BOOL(WINAPI*)(::HANDLE, ::PBOOL);

}  // namespace

ProcessHandle Win32Process::GetCurrentProcess() {
  return FromNative<ProcessHandle>(::GetCurrentProcess());
}

BOOL Win32Process::IsWow64Process(ProcAddress routine, ProcessHandle process, BOOL* wow64) {
  ::BOOL value = FALSE;
  const ::BOOL ok = reinterpret_cast<IsWow64>(routine)(ToNative(process), &value);
  if (wow64 != nullptr) *wow64 = value;
  return ok;
}


}  // namespace os::win32

namespace os::win32 {

BOOL Win32Process::CreateProcessW(const char16_t* applicationName, char16_t* commandLine,
                                  void* processAttributes, void* threadAttributes,
                                  BOOL inheritHandles, DWORD creationFlags, void* environment,
                                  const char16_t* currentDirectory, StartupInfo* startupInfo,
                                  ProcessInformation* processInformation) {
  STARTUPINFOW info{};
  info.cb = sizeof info;
  info.dwFlags = startupInfo->dwFlags;
  info.wShowWindow = startupInfo->wShowWindow;
  PROCESS_INFORMATION created{};
  const ::BOOL ok = ::CreateProcessW(
      Wide(applicationName), Wide(commandLine),
      static_cast<LPSECURITY_ATTRIBUTES>(processAttributes),
      static_cast<LPSECURITY_ATTRIBUTES>(threadAttributes), inheritHandles, creationFlags,
      environment, Wide(currentDirectory), &info, &created);
  *processInformation = ProcessInformation{FromNative<ProcessHandle>(created.hProcess),
                                           FromNative<HANDLE>(created.hThread),
                                           created.dwProcessId, created.dwThreadId};
  return ok;
}

DWORD Win32Process::WaitForSingleObject(ProcessHandle object, DWORD milliseconds) {
  return ::WaitForSingleObject(ToNative(object), milliseconds);
}

void Win32Process::Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }

BOOL Win32Process::GetExitCodeProcess(ProcessHandle process, DWORD* exitCode) {
  ::DWORD code = 0;
  const ::BOOL ok = ::GetExitCodeProcess(ToNative(process), &code);
  if (exitCode != nullptr) *exitCode = code;
  return ok;
}

DWORD Win32Process::GetEnvironmentVariableW(const char16_t* name, char16_t* buffer,
                                            DWORD size) {
  return ::GetEnvironmentVariableW(Wide(name), Wide(buffer), size);
}

const char16_t* Win32Process::GetCommandLineW() {
  return reinterpret_cast<const char16_t*>(::GetCommandLineW());
}

BOOL Win32Process::CloseHandle(ProcessHandle object) { return ::CloseHandle(ToNative(object)); }

BOOL Win32Process::CloseHandle(HANDLE object) { return ::CloseHandle(ToNative(object)); }

BOOL Win32Process::Wow64DisableWow64FsRedirection(ProcAddress routine, void** oldValue) {
  using Disable = ::BOOL(WINAPI*)(PVOID*);
  return reinterpret_cast<Disable>(routine)(oldValue);
}

BOOL Win32Process::Wow64RevertWow64FsRedirection(ProcAddress routine, void* oldValue) {
  using Revert = ::BOOL(WINAPI*)(PVOID);
  return reinterpret_cast<Revert>(routine)(oldValue);
}

}  // namespace os::win32
