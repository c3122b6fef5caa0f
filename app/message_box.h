// Messages to the user: a string-table text, or a text of its own, in a
// message box captioned with the application title (string 57344).
#pragma once

#include <string>

#include "os/types.h"

namespace app {

int ShowMessage(const std::u16string& text, os::UINT type);
int ShowStringMessage(os::UINT id, os::UINT type);

}  // namespace app
