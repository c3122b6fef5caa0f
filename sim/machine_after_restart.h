// What a simulated machine leaves behind: the description it was loaded
// from, with each drive's firmware revision and revision set as the drive
// reports them after the next power cycle. A later run over that text
// starts where this one ended, as a real machine comes back from the
// restart the wizard asks for.
#pragma once

#include <optional>
#include <string>

#include "sim/sim_machine.h"

namespace sim {

// Power-cycles `machine` and returns `json` (the text it was described
// with) brought up to date, or none with `error` saying why. Every other
// key stays as it was written.
std::optional<std::string> DescribeAfterRestart(const std::string& json, SimMachine& machine,
                                                std::string& error);

}  // namespace sim
