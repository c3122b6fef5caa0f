// The IDENTIFY DEVICE block and the physical-parameters block a simulated
// drive answers with, built from its description as the drive's firmware
// would report them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "sim/drive_description.h"

namespace sim {

using Sector = std::array<std::uint8_t, 512>;

// `firmware` is the revision the drive runs now; `spunUp` false gives the
// incomplete block of a drive that waits for the spin-up subcommand.
Sector BuildIdentify(const DriveDescription& d, const std::string& firmware,
                     bool spunUp);

// Data table 1. At level 4 the revision texts A, B and C are laid out so
// that the host's composition gives back `revisionSet`.
Sector BuildPhysParams(const DriveDescription& d,
                       const std::string& revisionSet);

}  // namespace sim
