// Text helpers of the application layers: 8-bit drive text to UTF-16 and
// back through the thread's ANSI code page, and the trim of white space.
#pragma once

#include <string>
#include <string_view>

namespace base {

// MultiByteToWideChar with CP_THREAD_ACP; empty when the conversion fails.
std::u16string Widen(std::string_view text);

// WideCharToMultiByte with CP_THREAD_ACP; empty when the conversion fails.
std::string Narrow(std::u16string_view text);

inline bool IsCWhiteSpace(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// The C library's white space (blank, tab, line feed, vertical tab, form
// feed, carriage return), at both ends.
std::u16string TrimWhiteSpace(std::u16string_view text);

}  // namespace base
