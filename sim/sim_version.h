// GetVersionExW as the machine description says.
#pragma once

#include "os/errors.h"
#include "os/version.h"
#include "sim/machine_description.h"

namespace sim {

class SimVersion final : public os::Version {
 public:
  SimVersion(const MachineDescription& machine, os::Errors& errors)
      : machine_(machine), errors_(errors) {}
  os::BOOL GetVersionExW(os::OsVersionInfo* info) override;

 private:
  const MachineDescription& machine_;
  os::Errors& errors_;
};

}  // namespace sim
