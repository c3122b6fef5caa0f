#include "sim/sim_version.h"

#include "os/memory/version_info.h"

namespace sim {

os::BOOL SimVersion::GetVersionExW(os::OsVersionInfo* info) {
  os::DWORD error = 0;
  if (machine_.versionFailCode) {
    errors_.SetLastError(*machine_.versionFailCode);
    return os::kFalse;
  }
  const os::BOOL ok =
      os::memory::FillVersion(info, machine_.windowsMajor, machine_.windowsMinor, error);
  if (!ok) errors_.SetLastError(error);
  return ok;
}

}  // namespace sim
