// An IDENTIFY DEVICE block as a file holds it: 512 raw bytes, or the text
// form disk tools print, 256 words of 4 hex digits each, word 0 first, with
// anything but hex digits between them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vxfw {

using IdentifyBytes = std::array<std::uint8_t, 512>;

// The block, or none with `error` saying why the contents are not one.
std::optional<IdentifyBytes> ParseIdentifyFile(
    const std::vector<std::uint8_t>& contents, std::string& error);

}  // namespace vxfw
