// Letter case as Windows compares names without it (paths, registry keys,
// service and module names, environment variables): A-Z folded to a-z.
#pragma once

#include <string>

namespace os {

constexpr char16_t AsciiLower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

inline std::u16string AsciiLower(std::u16string text) {
  for (auto& c : text) c = AsciiLower(c);
  return text;
}

}  // namespace os
