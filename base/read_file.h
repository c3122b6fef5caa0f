// A whole file read through the seam, up to a limit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "os/types.h"

namespace base {

// The whole file through the seam, or none with the last error in `error`
// (ERROR_FILE_TOO_LARGE, 223, when it is longer than `limit` bytes).
std::optional<std::vector<std::uint8_t>> ReadWholeFile(
    const std::u16string& path, std::size_t limit, os::DWORD& error);

}  // namespace base
