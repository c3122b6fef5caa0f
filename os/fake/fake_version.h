// The fake's Windows version: 10.0 unless a test says otherwise.
#pragma once

#include "os/errors.h"
#include "os/fake/faults.h"
#include "os/version.h"

namespace os::fake {

class FakeVersion final : public Version {
 public:
  FakeVersion(Errors& errors, Faults& faults) : errors_(errors), faults_(faults) {}

  void Set(DWORD major, DWORD minor) {
    major_ = major;
    minor_ = minor;
  }

  BOOL GetVersionExW(OsVersionInfo* info) override;

 private:
  Errors& errors_;
  Faults& faults_;
  DWORD major_ = 10;
  DWORD minor_ = 0;
};

}  // namespace os::fake
