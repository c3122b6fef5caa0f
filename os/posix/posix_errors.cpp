#include "os/posix/posix_system.h"

#include "os/constants.h"

namespace os::posix {
namespace {

thread_local DWORD lastError = 0;

}  // namespace

DWORD PosixErrors::GetLastError() { return lastError; }

void PosixErrors::SetLastError(DWORD code) { lastError = code; }

}  // namespace os::posix
