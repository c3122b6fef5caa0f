#include "base/string_table.h"

#include "os/system.h"

namespace base {

const std::map<os::UINT, std::u16string>& StringTable() {
#define VX_STRING(id, text) {id, u"" text},
  static const std::map<os::UINT, std::u16string> table = {
#include "base/string_table.inc"
  };
#undef VX_STRING
  return table;
}

bool LoadAppString(os::UINT id, std::u16string& text) {
  char16_t buffer[1024] = {};
  const int length = os::Sys().resources.LoadStringW(nullptr, id, buffer, 1024);
  if (length <= 0) return false;
  text.assign(buffer, static_cast<std::size_t>(length));
  return true;
}

}  // namespace base
