// The fake debugger: keeps every string it was handed, in order.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "os/debug.h"

namespace os::fake {

class FakeDebug final : public Debug {
 public:
  void OutputDebugStringW(const char16_t* text) override;
  std::vector<std::u16string> Output() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::u16string> output_;
};

}  // namespace os::fake
