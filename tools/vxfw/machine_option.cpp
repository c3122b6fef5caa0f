#include "tools/vxfw/machine_option.h"

#include "base/read_file.h"
#include "tools/vxfw/utf8.h"

namespace vxfw {
namespace {

constexpr std::size_t kLargestMachineFile = 1024 * 1024;

}  // namespace

std::optional<sim::MachineDescription> LoadMachine(const std::u16string& name,
                                                   std::string& error) {
  if (name == u"default") return sim::DefaultMachine();
  os::DWORD code = 0;
  const auto contents = base::ReadWholeFile(name, kLargestMachineFile, code);
  if (!contents) {
    error = "cannot read " + ToUtf8(name) + " (error " + std::to_string(code) + ")";
    return std::nullopt;
  }
  auto machine = sim::ParseMachine(std::string(contents->begin(), contents->end()), error);
  if (!machine) error = ToUtf8(name) + ": " + error;
  return machine;
}

}  // namespace vxfw
