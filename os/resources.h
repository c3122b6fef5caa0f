// The executable's own resources: its string table.
#pragma once

#include "os/types.h"

namespace os {

class Resources {
 public:
  virtual ~Resources() = default;
  // A string-table entry of `module` (null: the executable's).
  virtual int LoadStringW(HMODULE module, UINT id, char16_t* buffer, int bufferMax) = 0;
};

}  // namespace os
