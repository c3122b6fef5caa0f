// One exchange with a drive in vendor-specific mode, and the rule that no
// drive is left in that mode: once Enable has been called, Disable follows
// on every path. Enable may throw after the drive has already switched (it
// accepted the key, but its response was unreadable), so a failing Enable
// is followed by Disable too.
#pragma once

#include <functional>

#include "ata/ata_interface.h"
#include "ata/exception.h"
#include "ata/vsc_interface.h"

namespace tessel {

// Leaving vendor mode is tried this many times before the drive is given up.
inline constexpr int kDisableAttempts = 3;

// Told of each failed attempt to leave vendor mode, numbered from 1.
using DisableFailureReport =
    std::function<void(int attempt, const Exception& failure)>;

// Enable, judged as "enable"; `steps`; Disable, judged as "disable". When
// Enable or a step throws, Disable is tried and that exception goes on
// unchanged: a failure to leave is only reported. Otherwise the last
// failure to leave is thrown once every attempt has failed.
void InVendorMode(VscInterface& channel, AtaInterface& drive,
                  const std::function<void()>& steps,
                  const DisableFailureReport& report);

}  // namespace tessel
