#include "os/system.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace os {
namespace {

std::atomic<System*> installed{nullptr};

}  // namespace

System& Sys() {
  System* system = installed.load(std::memory_order_acquire);
  if (system == nullptr) {
    std::fputs("os::Sys() called before a system was installed\n", stderr);
    std::abort();
  }
  return *system;
}

void InstallSystem(System& system) {
  installed.store(&system, std::memory_order_release);
}

ScopedSystem::ScopedSystem(System& system)
    : previous_(installed.exchange(&system, std::memory_order_acq_rel)) {}

ScopedSystem::~ScopedSystem() {
  installed.store(previous_, std::memory_order_release);
}

}  // namespace os
