#include "sim/machine_after_restart.h"

#include <nlohmann/json.hpp>

namespace sim {

std::optional<std::string> DescribeAfterRestart(const std::string& json, SimMachine& machine,
                                                std::string& error) {
  // Ordered, so that the keys stay where the author put them.
  auto description = nlohmann::ordered_json::parse(json, nullptr, false);
  if (description.is_discarded() || !description.is_object()) {
    error = "the machine description is not a JSON object";
    return std::nullopt;
  }
  machine.PowerCycle();
  auto drives = description.find("drives");
  if (drives == description.end()) return description.dump(2) + "\n";
  if (!drives->is_array()) {
    error = "drives: not an array";
    return std::nullopt;
  }
  // The machine was loaded from this very text: its drives are the
  // entries, in the same order.
  const auto& loaded = machine.description().drives;
  if (drives->size() != loaded.size()) {
    error = "drives: the text describes another machine";
    return std::nullopt;
  }
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    SimDrive* drive = machine.Drive(loaded[i].number);
    auto& entry = (*drives)[i];
    if (drive == nullptr || !entry.is_object()) {
      error = "drives: entry " + std::to_string(i) + " is not a drive of the machine";
      return std::nullopt;
    }
    entry["firmware"] = drive->device().firmware();
    entry["revisionSet"] = drive->device().revisionSet();
  }
  return description.dump(2) + "\n";
}

}  // namespace sim
