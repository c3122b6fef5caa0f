// The machine's keyboard and mouse input, held off while a drive is being
// written.
#pragma once

#include "os/types.h"

namespace os {

class Input {
 public:
  virtual ~Input() = default;
  virtual BOOL BlockInput(BOOL block) = 0;
};

}  // namespace os
