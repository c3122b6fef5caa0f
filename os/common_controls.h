// The common controls library: registering its window classes before the
// first dialog that uses them is made.
#pragma once

#include "os/types.h"

namespace os {

// INITCOMMONCONTROLSEX.
struct InitCommonControlsExInfo {
  DWORD dwSize;
  DWORD dwICC;
};

constexpr DWORD kInitCommonControlsExSize = 8;
constexpr DWORD kIccWin95Classes = 0xFF;

class CommonControls {
 public:
  virtual ~CommonControls() = default;
  virtual BOOL InitCommonControlsEx(const InitCommonControlsExInfo* info) = 0;
};

}  // namespace os
