#include "os/posix/posix_system.h"

#include "os/constants.h"

namespace os::posix {

HMODULE PosixModules::GetModuleHandleW(const char16_t*) {
  errors_.SetLastError(kErrorModNotFound);
  return nullptr;
}

ProcAddress PosixModules::GetProcAddress(HMODULE, const char*) {
  errors_.SetLastError(kErrorProcNotFound);
  return nullptr;
}

HMODULE PosixModules::LoadLibraryW(const char16_t*) {
  errors_.SetLastError(kErrorModNotFound);
  return nullptr;
}

BOOL PosixModules::FreeLibrary(HMODULE) {
  errors_.SetLastError(kErrorInvalidHandle);
  return kFalse;
}

}  // namespace os::posix
