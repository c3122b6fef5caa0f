// The AC-power test that guards every update, and the forced restart.
#pragma once

#include <cstdint>
#include <string>

namespace app {

// 0 on AC power; -1 after telling the user why not.
std::int32_t CheckPowerSource();

// 1 when the restart request was accepted, else 0. Shows and logs nothing.
std::int32_t SystemReboot();


}  // namespace app
