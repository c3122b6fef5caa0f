#include "base/settings.h"

#include "os/constants.h"
#include "os/system.h"

namespace base {

AppSettings& Settings() {
  static AppSettings settings;
  return settings;
}

std::optional<ModuleFolderFailure> LocateModuleFolder() {
  auto& sys = os::Sys();
  char16_t path[os::kMaxPath] = {};
  const os::DWORD length = sys.files.GetModuleFileNameW(nullptr, path, os::kMaxPath);
  if (length == 0) {
    return ModuleFolderFailure{ModuleFolderFailure::kModuleFileName, sys.errors.GetLastError()};
  }
  if (length >= os::kMaxPath) {
    return ModuleFolderFailure{ModuleFolderFailure::kModuleFileName, os::kErrorInsufficientBuffer};
  }
  if (sys.files.PathRemoveFileSpecW(path) != os::kTrue) {
    return ModuleFolderFailure{ModuleFolderFailure::kRemoveFileSpec, sys.errors.GetLastError()};
  }
  Settings().moduleFolder = path;
  return std::nullopt;
}

bool InitModuleFolder() { return !LocateModuleFolder(); }

}  // namespace base
