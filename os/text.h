// Code-page conversion between the drives' 8-bit text and UTF-16.
#pragma once

#include "os/types.h"

namespace os {

class Text {
 public:
  virtual ~Text() = default;
  virtual int MultiByteToWideChar(UINT codePage, DWORD flags,
                                  const char* multiByte, int multiByteCount,
                                  char16_t* wide, int wideCount) = 0;
  virtual int WideCharToMultiByte(UINT codePage, DWORD flags,
                                  const char16_t* wide, int wideCount,
                                  char* multiByte, int multiByteCount,
                                  const char* defaultChar,
                                  BOOL* usedDefaultChar) = 0;
};

}  // namespace os
