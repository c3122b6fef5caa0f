// The simulator's machine description: any text, parsed; a machine that
// parses is built.
#include <string>

#include "os/fake/fake_system.h"
#include "sim/machine_description.h"
#include "sim/simulated_system.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string json(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto machine = sim::ParseMachine(json, error);
  if (!machine) {
    if (error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  os::fake::FakeSystem fake;
  sim::SimulatedSystem simulated(fake.system(), *machine);
  return 0;
}
