// The fake's Windows version: 10.0 unless a test says otherwise.
#pragma once

#include <optional>

#include "os/errors.h"
#include "os/version.h"

namespace os::fake {

class FakeVersion final : public Version {
 public:
  explicit FakeVersion(Errors& errors) : errors_(errors) {}

  void Set(DWORD major, DWORD minor) {
    major_ = major;
    minor_ = minor;
  }
  void FailWith(std::optional<DWORD> code) { failCode_ = code; }

  BOOL GetVersionExW(OsVersionInfo* info) override;

 private:
  Errors& errors_;
  DWORD major_ = 10;
  DWORD minor_ = 0;
  std::optional<DWORD> failCode_;
};

}  // namespace os::fake
