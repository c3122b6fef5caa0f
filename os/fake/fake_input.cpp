#include "os/fake/fake_input.h"

namespace os::fake {

BOOL FakeInput::BlockInput(BOOL block) {
  std::lock_guard lock(mutex_);
  calls_.push_back(block);
  blocked_.store(block != kFalse);
  return kTrue;
}

std::vector<BOOL> FakeInput::BlockInputCalls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

}  // namespace os::fake
