#include "os/fake/fake_ole.h"

namespace os::fake {

HRESULT FakeOle::OleInitialize(void*) {
  std::lock_guard lock(mutex_);
  ++initializations_;
  if (auto code = faults_.Take("ole", "OleInitialize")) return static_cast<HRESULT>(*code);
  return ++initialized_[std::this_thread::get_id()] == 1 ? kSOk : kSFalse;
}

void FakeOle::OleUninitialize() {
  std::lock_guard lock(mutex_);
  const auto it = initialized_.find(std::this_thread::get_id());
  if (it != initialized_.end() && --it->second == 0) initialized_.erase(it);
}

int FakeOle::Initialized() const {
  std::lock_guard lock(mutex_);
  int count = 0;
  for (const auto& [thread, times] : initialized_) count += times;
  return count;
}

int FakeOle::Initializations() const {
  std::lock_guard lock(mutex_);
  return initializations_;
}

}  // namespace os::fake
