#include "os/posix/posix_system.h"

#include "os/cp1252.h"

#include "os/constants.h"

namespace os::posix {

int PosixText::MultiByteToWideChar(UINT codePage, DWORD, const char* multiByte,
                                   int multiByteCount, char16_t* wide,
                                   int wideCount) {
  DWORD error = 0;
  const int count = cp1252::MultiByteToWide(codePage, multiByte, multiByteCount,
                                            wide, wideCount, error);
  if (count == 0) errors_.SetLastError(error);
  return count;
}

int PosixText::WideCharToMultiByte(UINT codePage, DWORD, const char16_t* wide,
                                   int wideCount, char* multiByte,
                                   int multiByteCount, const char* defaultChar,
                                   BOOL* usedDefaultChar) {
  DWORD error = 0;
  const int count =
      cp1252::WideToMultiByte(codePage, wide, wideCount, multiByte,
                              multiByteCount, defaultChar, usedDefaultChar, error);
  if (count == 0) errors_.SetLastError(error);
  return count;
}

}  // namespace os::posix
