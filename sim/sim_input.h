// The machine's keyboard and mouse: BlockInput is recorded, never done, so
// a simulated update leaves the real machine's input alone.
#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "os/input.h"

namespace sim {

class SimInput final : public os::Input {
 public:
  bool Blocked() const { return blocked_.load(); }
  std::vector<os::BOOL> Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }

  os::BOOL BlockInput(os::BOOL block) override {
    std::lock_guard lock(mutex_);
    calls_.push_back(block);
    blocked_.store(block != os::kFalse);
    return os::kTrue;
  }

 private:
  std::atomic<bool> blocked_{false};
  mutable std::mutex mutex_;
  std::vector<os::BOOL> calls_;
};

}  // namespace sim
