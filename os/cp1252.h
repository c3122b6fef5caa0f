// Windows code page 1252 as the fake and the POSIX binding convert it: the
// table Windows uses, with the five unassigned bytes mapped to the C1
// control of the same value, as Windows does.
#pragma once

#include <optional>

namespace os::cp1252 {

char16_t ToUnicode(unsigned char byte);

// The byte for `unit`, or none when code page 1252 has no exact mapping.
std::optional<unsigned char> FromUnicode(char16_t unit);

}  // namespace os::cp1252
