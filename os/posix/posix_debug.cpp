#include "os/posix/posix_system.h"

#include <cstdio>
#include <string>

#include "os/constants.h"

namespace os::posix {

void PosixDebug::OutputDebugStringW(const char16_t* text) {
  std::string narrow;
  for (; text != nullptr && *text != u'\0'; ++text) {
    narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
  }
  std::fputs(narrow.c_str(), stderr);
}

}  // namespace os::posix
