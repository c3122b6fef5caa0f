// Where an in-memory area asks, before a call acts, whether that call is to
// fail instead. The test fake's fault switch answers; a system with no
// faults passes no gate.
#pragma once

#include <optional>
#include <string_view>

#include "os/types.h"

namespace os::memory {

class CallGate {
 public:
  virtual ~CallGate() = default;
  // The last-error code `call` of `area` fails with now, or none.
  virtual std::optional<DWORD> Take(std::string_view area, std::string_view call) = 0;
};

inline std::optional<DWORD> Strike(CallGate* gate, std::string_view area,
                                   std::string_view call) {
  return gate == nullptr ? std::nullopt : gate->Take(area, call);
}

}  // namespace os::memory
