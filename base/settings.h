// The application's settings: the folder of the running executable and
// the three flags. One per process; start-up fills the folder.
#pragma once

#include <string>

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

// moduleFolder from GetModuleFileNameW and PathRemoveFileSpecW; false when
// the path cannot be determined (a path that fills the buffer included).
bool InitModuleFolder();

}  // namespace base
