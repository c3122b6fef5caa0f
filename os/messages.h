// Message boxes shown to the user.
#pragma once

#include "os/types.h"

namespace os {

class Messages {
 public:
  virtual ~Messages() = default;
  virtual int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption,
                          UINT type) = 0;
};

}  // namespace os
