#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "tests/os/contract_env.h"

namespace contract {

// Installs the system under test for each case.
class ContractTest : public testing::Test {
 protected:
  ContractTest() : env_(MakeEnv()), guard_(env_->system()) {}
  os::System& sys() { return env_->system(); }
  Env& env() { return *env_; }

 private:
  std::unique_ptr<Env> env_;
  os::ScopedSystem guard_;
};

}  // namespace contract
