#include "sim/command_faults.h"

namespace sim {

void CommandFaults::Arm(std::uint64_t index, InjectedFault kind) {
  std::lock_guard lock(mutex_);
  remaining_ = index;
  kind_ = kind;
  struck_ = false;
}

InjectedFault CommandFaults::Next(int target, std::uint32_t code) {
  std::lock_guard lock(mutex_);
  if (remaining_ == 0 || --remaining_ != 0) return InjectedFault::None;
  struck_ = true;
  struckTarget_ = target;
  struckCode_ = code;
  return kind_;
}

bool CommandFaults::Struck() const {
  std::lock_guard lock(mutex_);
  return struck_;
}

int CommandFaults::StruckTarget() const {
  std::lock_guard lock(mutex_);
  return struckTarget_;
}

std::uint32_t CommandFaults::StruckCode() const {
  std::lock_guard lock(mutex_);
  return struckCode_;
}

}  // namespace sim
