// The fake's fault switch: makes a named call fail with a chosen last-error
// code, once, a number of times, or until cleared.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "os/types.h"

namespace os::fake {

class Faults {
 public:
  static constexpr int kAlways = -1;

  void Fail(std::string_view call, DWORD code, int times = 1);
  void Clear();

  // The code to fail `call` with now, or none; counts the failure down.
  std::optional<DWORD> Take(std::string_view call);

 private:
  struct Armed {
    DWORD code;
    int remaining;
  };
  std::mutex mutex_;
  std::map<std::string, Armed, std::less<>> armed_;
};

}  // namespace os::fake
