// The thread's last-error value, as every failing call of the seam leaves it.
#pragma once

#include "os/types.h"

namespace os {

class Errors {
 public:
  virtual ~Errors() = default;
  virtual DWORD GetLastError() = 0;
  virtual void SetLastError(DWORD code) = 0;
};

}  // namespace os
