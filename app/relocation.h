// "launch": the program copies its own folder into a versioned folder
// under the user's temporary directory and starts the copy there, so the
// wizard runs from a place it may write to whatever medium it came on.
#pragma once

#include <optional>
#include <string>

#include "os/types.h"

namespace app {

// Runs `commandLine`; with `wait`, until it ends, giving its exit code.
// False when the process could not be created (or, waiting, its exit code
// could not be read).
bool RunProcess(const std::u16string& commandLine,
                const std::optional<std::u16string>& workingFolder, bool hidden, bool wait,
                os::DWORD& exitCode);

// "cmd.exe /C " + command, hidden, waited for.
bool RunCommand(const std::u16string& command, os::DWORD& exitCode);

// Reports its own failure (log and string 106).
void PrepareAndLaunchWizard();

}  // namespace app
