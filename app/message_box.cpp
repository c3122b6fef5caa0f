#include "app/message_box.h"

#include "base/string_table.h"
#include "os/constants.h"
#include "os/system.h"

namespace app {

int ShowMessage(const std::u16string& text, os::UINT type) {
  std::u16string caption;
  base::LoadAppString(base::IDS_APP_TITLE, caption);
  return os::Sys().messages.MessageBoxW(nullptr, text.c_str(), caption.c_str(), type);
}

int ShowStringTableMessage(os::UINT id, os::UINT type) {
  constexpr os::UINT kIconMask = 0xF0;
  if ((type & kIconMask) == 0) type |= os::kMbIconExclamation;
  return ShowStringMessage(id, type);
}

int ShowStringMessage(os::UINT id, os::UINT type) {
  std::u16string text;
  base::LoadAppString(id, text);
  return ShowMessage(text, type);
}

}  // namespace app
