// The fake's resources: the executable's string table, as a test hands it.
#pragma once

#include <map>
#include <string>

#include "os/errors.h"
#include "os/fake/faults.h"
#include "os/resources.h"

namespace os::fake {

class FakeResources final : public Resources {
 public:
  FakeResources(Errors& errors, Faults& faults) : errors_(errors), faults_(faults) {}

  void SetStrings(const std::map<UINT, std::u16string>* strings) { strings_ = strings; }

  int LoadStringW(HMODULE module, UINT id, char16_t* buffer, int bufferMax) override;

 private:
  Errors& errors_;
  Faults& faults_;
  const std::map<UINT, std::u16string>* strings_ = nullptr;
};

}  // namespace os::fake
