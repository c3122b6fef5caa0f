// The fake's last error: one value per thread, as on Windows.
#pragma once

#include "os/errors.h"

namespace os::fake {

class FakeErrors final : public Errors {
 public:
  DWORD GetLastError() override;
  void SetLastError(DWORD code) override;
};

}  // namespace os::fake
