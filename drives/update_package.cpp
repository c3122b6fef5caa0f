#include "drives/update_package.h"

#include <cctype>

namespace drives {

int MatchPattern(const char* value, const char* pattern) {
  int result = 0;
  while (*value != '\0' && *pattern != '\0' && result == 0 && *pattern != '*') {
    if (*pattern != '?') {
      result = std::toupper(static_cast<unsigned char>(*value)) -
               std::toupper(static_cast<unsigned char>(*pattern));
    }
    ++value;
    ++pattern;
  }
  return result;
}

}  // namespace drives
