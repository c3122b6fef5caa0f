#include "os/fake/fake_debug.h"

namespace os::fake {

void FakeDebug::OutputDebugStringW(const char16_t* text) {
  std::lock_guard lock(mutex_);
  output_.emplace_back(text == nullptr ? u"" : text);
}

std::vector<std::u16string> FakeDebug::Output() const {
  std::lock_guard lock(mutex_);
  return output_;
}

}  // namespace os::fake
