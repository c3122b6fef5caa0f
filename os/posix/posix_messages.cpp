#include "os/posix/posix_system.h"

#include "os/constants.h"

namespace os::posix {

int PosixMessages::MessageBoxW(HWND, const char16_t*, const char16_t*, UINT) { return 0; }

}  // namespace os::posix
