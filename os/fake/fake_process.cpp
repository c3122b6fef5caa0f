#include "os/fake/fake_process.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "os/ascii_case.h"
#include "os/constants.h"

namespace os::fake {
namespace {

HMODULE const kKernel32 = reinterpret_cast<HMODULE>(0x7FE00000);
char kIsWow64Routine, kDisableRoutine, kRevertRoutine;

}  // namespace

HANDLE FakeProcess::GetCurrentProcess() {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
}

HMODULE FakeProcess::GetModuleHandleW(const char16_t* moduleName) {
  const std::u16string name = AsciiLower(moduleName == nullptr ? u"" : moduleName);
  if (name == u"kernel32" || name == u"kernel32.dll") return kKernel32;
  errors_.SetLastError(kErrorModNotFound);
  return nullptr;
}

ProcAddress FakeProcess::GetProcAddress(HMODULE module, const char* name) {
  if (module == kKernel32 && wow64Present_ && name != nullptr) {
    if (std::strcmp(name, "IsWow64Process") == 0) return &kIsWow64Routine;
    if (std::strcmp(name, "Wow64DisableWow64FsRedirection") == 0) return &kDisableRoutine;
    if (std::strcmp(name, "Wow64RevertWow64FsRedirection") == 0) return &kRevertRoutine;
  }
  errors_.SetLastError(kErrorProcNotFound);
  return nullptr;
}

BOOL FakeProcess::IsWow64Process(ProcAddress routine, HANDLE, BOOL* wow64) {
  if (auto code = faults_.Take("IsWow64Process")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  if (routine != &kIsWow64Routine || wow64 == nullptr) {
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
  const HANDLE process = reinterpret_cast<HANDLE>(next_);
  const HANDLE thread = reinterpret_cast<HANDLE>(next_ + 4);
  next_ += 8;
  open_[process] = static_cast<DWORD>(outcome);
  open_[thread] = 0;
  *processInformation = ProcessInformation{process, thread, 100, 101};
  return kTrue;
}

DWORD FakeProcess::WaitForSingleObject(HANDLE object, DWORD) {
  std::lock_guard lock(mutex_);
  return open_.count(object) != 0 ? 0 : 0xFFFFFFFFu;  // WAIT_OBJECT_0 / WAIT_FAILED
}

BOOL FakeProcess::GetExitCodeProcess(HANDLE process, DWORD* exitCode) {
  if (auto code = faults_.Take("GetExitCodeProcess")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  std::lock_guard lock(mutex_);
  auto it = open_.find(process);
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

BOOL FakeProcess::CloseHandle(HANDLE object) {
  std::lock_guard lock(mutex_);
  if (open_.erase(object) == 0) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  return kTrue;
}

BOOL FakeProcess::BlockInput(BOOL block) {
  std::lock_guard lock(mutex_);
  blockCalls_.push_back(block);
  inputBlocked_.store(block != kFalse);
  return kTrue;
}

BOOL FakeProcess::Wow64DisableWow64FsRedirection(ProcAddress routine, void** oldValue) {
  if (auto code = faults_.Take("Wow64DisableWow64FsRedirection")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  if (routine != &kDisableRoutine || oldValue == nullptr) {
    errors_.SetLastError(kErrorInvalidParameter);
    return kFalse;
  }
  *oldValue = &kRevertRoutine;
  redirectionOff_ = true;
  ++redirectionSwitches;
  return kTrue;
}

BOOL FakeProcess::Wow64RevertWow64FsRedirection(ProcAddress routine, void* oldValue) {
  if (routine != &kRevertRoutine || oldValue != &kRevertRoutine) {
    errors_.SetLastError(kErrorInvalidParameter);
    return kFalse;
  }
  redirectionOff_ = false;
  ++redirectionSwitches;
  return kTrue;
}

std::vector<BOOL> FakeProcess::BlockInputCalls() const {
  std::lock_guard lock(mutex_);
  return blockCalls_;
}

}  // namespace os::fake
