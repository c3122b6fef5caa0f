#include "os/fake/fake_messages.h"

#include "os/constants.h"

namespace os::fake {

std::vector<FakeMessages::Box> FakeMessages::Boxes() const {
  std::lock_guard lock(mutex_);
  return boxes_;
}

int FakeMessages::MessageBoxW(HWND, const char16_t* text, const char16_t* caption,
                              UINT type) {
  std::lock_guard lock(mutex_);
  boxes_.push_back({text == nullptr ? u"" : text, caption == nullptr ? u"" : caption, type});
  if (!answers.empty()) {
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return (type & 0xF) == kMbOk ? kIdOk : kIdNo;
}

}  // namespace os::fake
