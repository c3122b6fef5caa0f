// Every test executable that links the fake fails the running test when a
// fault it set up never struck.
#include <gtest/gtest.h>

#include "os/fake/faults.h"

namespace {

const bool installed = [] {
  os::fake::Faults::SetUnstruckReporter([](const std::vector<std::string>& unstruck) {
    for (const auto& fault : unstruck) ADD_FAILURE() << "fault set but never struck: " << fault;
  });
  return true;
}();

}  // namespace
