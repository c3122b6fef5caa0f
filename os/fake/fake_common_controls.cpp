#include "os/fake/fake_common_controls.h"

#include "os/constants.h"

namespace os::fake {

BOOL FakeCommonControls::InitCommonControlsEx(const InitCommonControlsExInfo* info) {
  if (auto code = faults_.Take("commonControls", "InitCommonControlsEx")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  if (info == nullptr || info->dwSize != kInitCommonControlsExSize) {
    errors_.SetLastError(kErrorInvalidParameter);
    return kFalse;
  }
  std::lock_guard lock(mutex_);
  registered_.push_back(info->dwICC);
  return kTrue;
}

std::vector<DWORD> FakeCommonControls::Registered() const {
  std::lock_guard lock(mutex_);
  return registered_;
}

}  // namespace os::fake
