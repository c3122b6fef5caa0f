// Messages to the user: a string-table text, or a text of its own, in a
// message box captioned with the application title (string 57344).
#pragma once

#include <string>

#include "os/types.h"

namespace app {

int ShowMessage(const std::u16string& text, os::UINT type);
int ShowStringMessage(os::UINT id, os::UINT type);
// The framework's message box for a string-table entry: OK unless told
// otherwise, and the exclamation icon when no icon is asked for.
int ShowStringTableMessage(os::UINT id, os::UINT type = 0);

}  // namespace app
