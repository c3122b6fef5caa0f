// The fake's fault switch: makes one call of one area fail with a chosen
// last-error code, once, a number of times, or until cleared. A fault is
// keyed by area and call ("devices", "CreateFileW"), so a fault meant for
// a drive's open is never taken by a file's. A fault that was set and
// never struck is reported when the switch goes away: a misspelt or
// misdirected fault cannot pass silently.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "os/memory/call_gate.h"
#include "os/types.h"

namespace os::fake {

class Faults final : public memory::CallGate {
 public:
  static constexpr int kAlways = -1;

  // What hears of faults that never struck ("area.call" each); tests
  // install one that fails the running test. The default writes to
  // standard error.
  using UnstruckReporter = std::function<void(const std::vector<std::string>&)>;
  static void SetUnstruckReporter(UnstruckReporter reporter);

  Faults() = default;
  ~Faults() override;
  Faults(const Faults&) = delete;
  Faults& operator=(const Faults&) = delete;

  // The first `skip` calls pass; then `times` fail.
  void Fail(std::string_view area, std::string_view call, DWORD code, int times = 1,
            int skip = 0);
  // Forgets every fault, struck or not.
  void Clear();

  // The code to fail `call` of `area` with now, or none; counts the
  // failure down.
  std::optional<DWORD> Take(std::string_view area, std::string_view call) override;

  // The faults set that have not struck once, as "area.call".
  std::vector<std::string> Unstruck() const;

 private:
  struct Armed {
    DWORD code;
    int remaining;
    int skip = 0;
    bool struck = false;
  };
  using Key = std::pair<std::string, std::string>;
  mutable std::mutex mutex_;
  std::map<Key, Armed, std::less<>> armed_;
  std::vector<std::string> spentUnstruck_;
};

}  // namespace os::fake
