#include "base/system_directory.h"

#include "os/constants.h"
#include "os/system.h"

namespace base {

bool GetSystemDirectoryPath(std::u16string& path) {
  path.clear();
  char16_t buffer[os::kMaxPath] = {};
  const os::UINT length = os::Sys().files.GetSystemDirectoryW(buffer, os::kMaxPath);
  if (length == 0 || length >= os::kMaxPath) return false;
  path.assign(buffer, length);
  while (path.size() > 3 && path.back() == u'\\') path.pop_back();
  return true;
}

}  // namespace base
