#include "os/posix/posix_system.h"

#include "os/cp1252.h"

#include "os/constants.h"

namespace os::posix {

int PosixResources::LoadStringW(HMODULE, UINT id, char16_t* buffer, int bufferMax) {
  DWORD error = 0;
  const int length = LoadStringFromTable(strings_, id, buffer, bufferMax, error);
  if (length == 0) errors_.SetLastError(error);
  return length;
}

}  // namespace os::posix
