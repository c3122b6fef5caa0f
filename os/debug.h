// Debugger output: where every log line is mirrored so a run can be followed
// live.
#pragma once

namespace os {

class Debug {
 public:
  virtual ~Debug() = default;
  virtual void OutputDebugStringW(const char16_t* text) = 0;
};

}  // namespace os
