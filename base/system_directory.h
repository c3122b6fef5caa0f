// The Windows system directory, where the boot-time native application is
// copied and looked for.
#pragma once

#include <string>

namespace base {

// The system directory without a trailing backslash; false (and empty)
// when it cannot be read.
bool GetSystemDirectoryPath(std::u16string& path);

}  // namespace base
