// The AC-power test that guards every update, the forced restart, and the
// system directory.
#pragma once

#include <cstdint>
#include <string>

namespace app {

// 0 on AC power; -1 after telling the user why not.
std::int32_t CheckPowerSource();

// 1 when the restart request was accepted, else 0. Shows and logs nothing.
std::int32_t SystemReboot();

// The system directory without a trailing backslash; false (and empty)
// when it cannot be read.
bool GetSystemDirectoryPath(std::u16string& path);

}  // namespace app
