// The fake's common controls: the classes each start-up registered.
#pragma once

#include <mutex>
#include <vector>

#include "os/common_controls.h"
#include "os/errors.h"
#include "os/fake/faults.h"

namespace os::fake {

class FakeCommonControls final : public CommonControls {
 public:
  FakeCommonControls(Errors& errors, Faults& faults) : errors_(errors), faults_(faults) {}

  BOOL InitCommonControlsEx(const InitCommonControlsExInfo* info) override;
  // The classes of each successful call.
  std::vector<DWORD> Registered() const;

 private:
  Errors& errors_;
  Faults& faults_;
  mutable std::mutex mutex_;
  std::vector<DWORD> registered_;
};

}  // namespace os::fake
