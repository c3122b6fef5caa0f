#include "os/fake/fake_process.h"

#include <cstring>
#include <string>

#include "os/constants.h"

namespace os::fake {
namespace {

HMODULE const kKernel32 = reinterpret_cast<HMODULE>(0x7FE00000);
char kIsWow64Routine;

}  // namespace

HANDLE FakeProcess::GetCurrentProcess() {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
}

HMODULE FakeProcess::GetModuleHandleW(const char16_t* moduleName) {
  std::u16string name = moduleName == nullptr ? u"" : moduleName;
  for (auto& c : name) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  if (name == u"kernel32" || name == u"kernel32.dll") return kKernel32;
  errors_.SetLastError(kErrorModNotFound);
  return nullptr;
}

ProcAddress FakeProcess::GetProcAddress(HMODULE module, const char* name) {
  if (module == kKernel32 && wow64Present_ && name != nullptr &&
      std::strcmp(name, "IsWow64Process") == 0) {
    return &kIsWow64Routine;
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

BOOL FakeProcess::BlockInput(BOOL block) {
  std::lock_guard lock(mutex_);
  blockCalls_.push_back(block);
  inputBlocked_.store(block != kFalse);
  return kTrue;
}

std::vector<BOOL> FakeProcess::BlockInputCalls() const {
  std::lock_guard lock(mutex_);
  return blockCalls_;
}

}  // namespace os::fake
