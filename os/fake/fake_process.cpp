#include "os/fake/fake_process.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "os/ascii_case.h"
#include "os/constants.h"
#include "os/memory/module_table.h"

namespace os::fake {
namespace {

// The value Wow64DisableWow64FsRedirection hands back, to be handed in again.
char redirectionToken;

}  // namespace

ProcessHandle FakeProcess::GetCurrentProcess() {
  return reinterpret_cast<ProcessHandle>(static_cast<std::intptr_t>(-1));
}

BOOL FakeProcess::IsWow64Process(ProcAddress routine, ProcessHandle, BOOL* wow64) {
  if (auto code = faults_.Take("process", "IsWow64Process")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  if (routine != memory::StandInRoutine("IsWow64Process") || wow64 == nullptr) {
    errors_.SetLastError(kErrorInvalidParameter);
    return kFalse;
  }
  *wow64 = wow64_ ? kTrue : kFalse;
  return kTrue;
}

std::vector<FakeProcess::Started> FakeProcess::Processes() const {
  std::lock_guard lock(mutex_);
  return started_;
}

int FakeProcess::OpenProcesses() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(open_.size());
}

BOOL FakeProcess::CreateProcessW(const char16_t*, char16_t* commandLine, void*, void*, BOOL,
                                 DWORD, void*, const char16_t* currentDirectory,
                                 StartupInfo* startupInfo,
                                 ProcessInformation* processInformation) {
  std::lock_guard lock(mutex_);
  started_.push_back({commandLine == nullptr ? u"" : commandLine,
                      currentDirectory == nullptr ? u"" : currentDirectory,
                      startupInfo ? startupInfo->cb : 0, startupInfo ? startupInfo->dwFlags : 0,
                      startupInfo ? startupInfo->wShowWindow : std::uint16_t{0}});
  std::int64_t outcome = 0;
  if (!exitCodes.empty()) {
    outcome = exitCodes.front();
    exitCodes.pop_front();
  }
  if (outcome < 0) {
    errors_.SetLastError(static_cast<DWORD>(-outcome));
    return kFalse;
  }
  const std::uintptr_t process = next_;
  const std::uintptr_t thread = next_ + 4;
  next_ += 8;
  open_[process] = static_cast<DWORD>(outcome);
  open_[thread] = 0;
  *processInformation = ProcessInformation{reinterpret_cast<ProcessHandle>(process),
                                           reinterpret_cast<HANDLE>(thread), 100, 101};
  return kTrue;
}

DWORD FakeProcess::WaitForSingleObject(ProcessHandle object, DWORD) {
  std::lock_guard lock(mutex_);
  return open_.count(reinterpret_cast<std::uintptr_t>(object)) != 0 ? 0 : 0xFFFFFFFFu;  // WAIT_OBJECT_0 / WAIT_FAILED
}

void FakeProcess::Sleep(DWORD milliseconds) {
  if (!instantSleeps_) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

BOOL FakeProcess::GetExitCodeProcess(ProcessHandle process, DWORD* exitCode) {
  if (auto code = faults_.Take("process", "GetExitCodeProcess")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  std::lock_guard lock(mutex_);
  auto it = open_.find(reinterpret_cast<std::uintptr_t>(process));
  if (it == open_.end()) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  *exitCode = it->second;
  return kTrue;
}

DWORD FakeProcess::GetEnvironmentVariableW(const char16_t* name, char16_t* buffer, DWORD size) {
  std::lock_guard lock(mutex_);
  const std::u16string key = AsciiLower(name == nullptr ? u"" : name);
  for (const auto& [variable, value] : environment) {
    if (AsciiLower(variable) != key) continue;
    const auto length = static_cast<DWORD>(value.size());
    if (length + 1 > size) return length + 1;
    std::copy(value.begin(), value.end(), buffer);
    buffer[length] = u'\0';
    return length;
  }
  errors_.SetLastError(203);  // ERROR_ENVVAR_NOT_FOUND
  return 0;
}

BOOL FakeProcess::CloseHandle(ProcessHandle object) {
  return Close(reinterpret_cast<std::uintptr_t>(object));
}

BOOL FakeProcess::CloseHandle(HANDLE object) {
  return Close(reinterpret_cast<std::uintptr_t>(object));
}

BOOL FakeProcess::Close(std::uintptr_t object) {
  std::lock_guard lock(mutex_);
  if (open_.erase(object) == 0) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  return kTrue;
}

BOOL FakeProcess::Wow64DisableWow64FsRedirection(ProcAddress routine, void** oldValue) {
  if (auto code = faults_.Take("process", "Wow64DisableWow64FsRedirection")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  if (routine != memory::StandInRoutine("Wow64DisableWow64FsRedirection") || oldValue == nullptr) {
    errors_.SetLastError(kErrorInvalidParameter);
    return kFalse;
  }
  *oldValue = &redirectionToken;
  redirectionOff_ = true;
  ++redirectionSwitches;
  return kTrue;
}

BOOL FakeProcess::Wow64RevertWow64FsRedirection(ProcAddress routine, void* oldValue) {
  if (routine != memory::StandInRoutine("Wow64RevertWow64FsRedirection") || oldValue != &redirectionToken) {
    errors_.SetLastError(kErrorInvalidParameter);
    return kFalse;
  }
  redirectionOff_ = false;
  ++redirectionSwitches;
  return kTrue;
}

}  // namespace os::fake
