// UTF-8 at the console tool's edges: its arguments and its output.
#pragma once

#include <string>
#include <string_view>

namespace vxfw {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

}  // namespace vxfw
