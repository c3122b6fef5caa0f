#include "os/fake/faults.h"

namespace os::fake {

void Faults::Fail(std::string_view call, DWORD code, int times) {
  std::lock_guard lock(mutex_);
  armed_[std::string(call)] = Armed{code, times};
}

void Faults::Clear() {
  std::lock_guard lock(mutex_);
  armed_.clear();
}

std::optional<DWORD> Faults::Take(std::string_view call) {
  std::lock_guard lock(mutex_);
  auto it = armed_.find(call);
  if (it == armed_.end()) return std::nullopt;
  const DWORD code = it->second.code;
  if (it->second.remaining != kAlways && --it->second.remaining <= 0) {
    armed_.erase(it);
  }
  return code;
}

}  // namespace os::fake
