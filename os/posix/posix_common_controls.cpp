#include "os/posix/posix_system.h"

#include "os/constants.h"

namespace os::posix {

BOOL PosixCommonControls::InitCommonControlsEx(const InitCommonControlsExInfo*) {
  errors_.SetLastError(kErrorCallNotImplemented);
  return kFalse;
}

}  // namespace os::posix
