#pragma once

#include "drives/drive.h"

namespace drives {

// Probes \\.\PhysicalDrive0 to 15, keeps the drives on an ATA, SATA, RAID,
// USB or SCSI bus, and returns those whose information could be read, by
// drive number.
DriveList EnumerateDrives();

}  // namespace drives
