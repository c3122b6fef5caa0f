#include "base/settings.h"

#include "os/constants.h"
#include "os/system.h"

namespace base {

AppSettings& Settings() {
  static AppSettings settings;
  return settings;
}

bool InitModuleFolder() {
  auto& files = os::Sys().files;
  char16_t path[os::kMaxPath] = {};
  const os::DWORD length = files.GetModuleFileNameW(nullptr, path, os::kMaxPath);
  if (length == 0 || length >= os::kMaxPath) return false;
  if (files.PathRemoveFileSpecW(path) != os::kTrue) return false;
  Settings().moduleFolder = path;
  return true;
}

}  // namespace base
