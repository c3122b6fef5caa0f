#include "os/memory/module_table.h"

#include <algorithm>
#include <array>

#include "os/ascii_case.h"
#include "os/constants.h"

namespace os::memory {
namespace {

struct Export {
  const char16_t* module;
  const char* routine;
};

constexpr std::array<Export, 6> kExports = {{
    {u"ntdll", "NtOpenSymbolicLinkObject"},
    {u"ntdll", "NtQuerySymbolicLinkObject"},
    {u"ntdll", "NtClose"},
    {u"kernel32", "IsWow64Process"},
    {u"kernel32", "Wow64DisableWow64FsRedirection"},
    {u"kernel32", "Wow64RevertWow64FsRedirection"},
}};

// The libraries a Windows system always has that the system loads on
// demand; any other name is not found.
constexpr std::array<std::u16string_view, 3> kLibraries = {u"riched20", u"msftedit",
                                                           u"comctl32"};

// One byte per routine: their addresses are the stand-ins.
std::array<char, kExports.size()> standIns;
// The modules' stand-ins: one byte each, like the routines'.
constexpr std::array<std::u16string_view, 2> kModules = {u"ntdll", u"kernel32"};
std::array<char, kModules.size()> moduleStandIns;
HMODULE ModuleStandIn(std::u16string_view module) {
  for (std::size_t i = 0; i < kModules.size(); ++i) {
    if (module == kModules[i]) return reinterpret_cast<HMODULE>(&moduleStandIns[i]);
  }
  return nullptr;
}

// "NTDLL.DLL" and "ntdll" name the same module.
std::u16string ModuleName(const char16_t* name) {
  std::u16string lower = AsciiLower(name == nullptr ? u"" : name);
  constexpr std::u16string_view kSuffix = u".dll";
  if (lower.size() > kSuffix.size() &&
      std::u16string_view(lower).substr(lower.size() - kSuffix.size()) == kSuffix) {
    lower.resize(lower.size() - kSuffix.size());
  }
  return lower;
}

}  // namespace

ProcAddress StandInRoutine(std::string_view routine) {
  for (std::size_t i = 0; i < kExports.size(); ++i) {
    if (routine == kExports[i].routine) return &standIns[i];
  }
  return nullptr;
}

ModuleTable::ModuleTable(Errors& errors, Serves serves, CallGate* gate, Modules* fallback)
    : errors_(errors), gate_(gate), fallback_(fallback) {
  for (const auto& e : kExports) {
    if (serves == Serves::kAll || std::u16string_view(e.module) == u"ntdll") {
      exports_.emplace(e.module, e.routine);
    }
  }
}

void ModuleTable::Remove(std::u16string_view module, std::string_view routine) {
  std::lock_guard lock(mutex_);
  exports_.erase({std::u16string(module), std::string(routine)});
}

HMODULE ModuleTable::GetModuleHandleW(const char16_t* moduleName) {
  if (auto code = Strike(gate_, "modules", "GetModuleHandleW")) {
    errors_.SetLastError(*code);
    return nullptr;
  }
  const std::u16string name = ModuleName(moduleName);
  {
    std::lock_guard lock(mutex_);
    for (const auto& [module, routine] : exports_) {
      if (module == name) return ModuleStandIn(module);
    }
  }
  if (fallback_ != nullptr) return fallback_->GetModuleHandleW(moduleName);
  errors_.SetLastError(kErrorModNotFound);
  return nullptr;
}

ProcAddress ModuleTable::GetProcAddress(HMODULE module, const char* name) {
  if (auto code = Strike(gate_, "modules",
                         "GetProcAddress(" + std::string(name == nullptr ? "" : name) + ")")) {
    errors_.SetLastError(*code);
    return nullptr;
  }
  {
    std::lock_guard lock(mutex_);
    for (const auto& [owner, routine] : exports_) {
      if (ModuleStandIn(owner) != module) continue;
      if (name != nullptr && routine == name) return StandInRoutine(routine);
    }
    for (const auto& e : kExports) {
      if (ModuleStandIn(e.module) == module) {
        errors_.SetLastError(kErrorProcNotFound);
        return nullptr;
      }
    }
  }
  if (fallback_ != nullptr) return fallback_->GetProcAddress(module, name);
  errors_.SetLastError(kErrorProcNotFound);
  return nullptr;
}

HMODULE ModuleTable::LoadLibraryW(const char16_t* fileName) {
  if (fallback_ != nullptr) return fallback_->LoadLibraryW(fileName);
  if (auto code = Strike(gate_, "modules", "LoadLibraryW")) {
    errors_.SetLastError(*code);
    return nullptr;
  }
  const std::u16string name = ModuleName(fileName);
  if (std::find(kLibraries.begin(), kLibraries.end(), name) == kLibraries.end()) {
    errors_.SetLastError(kErrorModNotFound);
    return nullptr;
  }
  std::lock_guard lock(mutex_);
  Library& library = libraries_[name];
  if (library.standIn == nullptr) library.standIn = std::make_unique<char>();
  ++library.loads;
  return reinterpret_cast<HMODULE>(library.standIn.get());
}

BOOL ModuleTable::FreeLibrary(HMODULE module) {
  if (fallback_ != nullptr) return fallback_->FreeLibrary(module);
  std::lock_guard lock(mutex_);
  for (auto it = libraries_.begin(); it != libraries_.end(); ++it) {
    if (reinterpret_cast<HMODULE>(it->second.standIn.get()) != module) continue;
    if (--it->second.loads == 0) libraries_.erase(it);
    return kTrue;
  }
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

int ModuleTable::Loaded(std::u16string_view fileName) const {
  std::lock_guard lock(mutex_);
  const auto it = libraries_.find(ModuleName(std::u16string(fileName).c_str()));
  return it == libraries_.end() ? 0 : it->second.loads;
}

}  // namespace os::memory
