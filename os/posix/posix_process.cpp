#include "os/posix/posix_system.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "os/constants.h"

namespace os::posix {

ProcessHandle PosixProcess::GetCurrentProcess() {
  return reinterpret_cast<ProcessHandle>(static_cast<std::intptr_t>(-1));
}

BOOL PosixProcess::IsWow64Process(ProcAddress, ProcessHandle, BOOL*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixProcess::CreateProcessW(const char16_t*, char16_t*, void*, void*, BOOL, DWORD,
                                  void*, const char16_t*, StartupInfo*, ProcessInformation*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

DWORD PosixProcess::WaitForSingleObject(ProcessHandle, DWORD) { return 0xFFFFFFFFu; }

void PosixProcess::Sleep(DWORD milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

BOOL PosixProcess::GetExitCodeProcess(ProcessHandle, DWORD*) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

DWORD PosixProcess::GetEnvironmentVariableW(const char16_t* name, char16_t* buffer, DWORD size) {
  std::string narrow;
  for (const char16_t* c = name; c != nullptr && *c != u'\0'; ++c) {
    narrow += static_cast<char>(*c < 0x80 ? *c : '?');
  }
  const char* value = std::getenv(narrow.c_str());
  if (value == nullptr) {
    errors_.SetLastError(203);  // ERROR_ENVVAR_NOT_FOUND
    return 0;
  }
  const auto length = static_cast<DWORD>(std::strlen(value));
  if (length + 1 > size) return length + 1;
  for (DWORD i = 0; i <= length; ++i) buffer[i] = static_cast<unsigned char>(value[i]);
  return length;
}

BOOL PosixProcess::Wow64DisableWow64FsRedirection(ProcAddress, void**) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixProcess::Wow64RevertWow64FsRedirection(ProcAddress, void*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

BOOL PosixProcess::CloseHandle(ProcessHandle) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

BOOL PosixProcess::CloseHandle(HANDLE) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

}  // namespace os::posix
