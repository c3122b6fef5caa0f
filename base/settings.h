// The application's settings: the folder of the running executable and
// the three flags. One per process; start-up fills the folder.
#pragma once

#include <optional>
#include <string>

#include "os/types.h"

namespace base {

struct AppSettings {
  // The executable's folder without a trailing backslash (a drive root
  // keeps its own: "C:\"). The firmware file, the driver and the log lie
  // there.
  std::u16string moduleFolder;
  bool nativeMode = false;
  bool restartAfterUpdate = false;
  bool closeAllowed = true;
};

AppSettings& Settings();

// Which call left moduleFolder unset, and its error. A path that fills the
// buffer was cut short: GetModuleFileNameW fails with
// ERROR_INSUFFICIENT_BUFFER then.
struct ModuleFolderFailure {
  enum Call { kModuleFileName, kRemoveFileSpec } call;
  os::DWORD error;
};

// moduleFolder from GetModuleFileNameW and PathRemoveFileSpecW, or the
// failure.
std::optional<ModuleFolderFailure> LocateModuleFolder();

// The same; false when the path cannot be determined.
bool InitModuleFolder();

}  // namespace base
