// The fake's input: whether keyboard and mouse are blocked now, and every
// BlockInput call in order.
#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "os/input.h"

namespace os::fake {

class FakeInput final : public Input {
 public:
  bool InputBlocked() const { return blocked_.load(); }
  std::vector<BOOL> BlockInputCalls() const;

  BOOL BlockInput(BOOL block) override;

 private:
  std::atomic<bool> blocked_{false};
  mutable std::mutex mutex_;
  std::vector<BOOL> calls_;
};

}  // namespace os::fake
