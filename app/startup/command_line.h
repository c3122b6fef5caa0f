// The command line split into arguments as the C run-time does it for
// wmain, whose argument vector the framework's parser walks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

// The program name first, then each argument. The program name ends at
// the next quote when it starts with one, else at the first space or tab;
// arguments are separated by spaces and tabs outside quotes; 2n
// backslashes before a quote give n and the quote opens or closes a quoted
// part, 2n+1 give n and a literal quote; two quotes inside a quoted part
// give one; backslashes before anything else are literal.
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);

}  // namespace app
