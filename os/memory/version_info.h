// GetVersionExW's answer for a given version, as an in-memory system gives it.
#pragma once

#include "os/version.h"

namespace os::memory {

// GetVersionExW's contract: the size field must be that of OSVERSIONINFOW;
// otherwise FALSE with `error` set.
BOOL FillVersion(OsVersionInfo* info, DWORD major, DWORD minor, DWORD& error);

}  // namespace os::memory
