#include "os/fake/fake_version.h"

#include "os/constants.h"
#include "os/memory/version_info.h"

namespace os::fake {

BOOL FakeVersion::GetVersionExW(OsVersionInfo* info) {
  if (auto code = faults_.Take("version", "GetVersionExW")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  DWORD error = 0;
  const BOOL ok = memory::FillVersion(info, major_, minor_, error);
  if (!ok) errors_.SetLastError(error);
  return ok;
}

}  // namespace os::fake
