#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "tests/os/contract_env.h"

namespace contract {

// Installs the binding under test for each case.
class ContractTest : public testing::TestWithParam<Binding> {
 protected:
  ContractTest() : env_(GetParam().make()), guard_(env_->system()) {}
  os::System& sys() { return env_->system(); }
  Env& env() { return *env_; }

 private:
  std::unique_ptr<Env> env_;
  os::ScopedSystem guard_;
};

inline std::string BindingName(const testing::TestParamInfo<Binding>& info) {
  return info.param.name;
}

}  // namespace contract

// Runs the suite's cases against every binding of every area, or against
// the bindings of files, text and errors too.
#define VX_CONTRACT_FOR_WHOLE_SYSTEMS(Suite)                                       \
  INSTANTIATE_TEST_SUITE_P(Bindings, Suite, testing::ValuesIn(contract::WholeSystems()), \
                           contract::BindingName)
#define VX_CONTRACT_FOR_FILE_AND_TEXT_SYSTEMS(Suite)                         \
  INSTANTIATE_TEST_SUITE_P(Bindings, Suite,                                  \
                           testing::ValuesIn(contract::FileAndTextSystems()), \
                           contract::BindingName)
