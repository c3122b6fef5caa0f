// String-table ids and their texts.
#pragma once

#include <map>
#include <string>

#include "os/types.h"

namespace base {

enum StringId : os::UINT {
  IDS_OLE_INIT_FAILED = 100,
  IDS_SOCKETS_INIT_FAILED = 103,
  IDS_APP_INIT_FAILED = 106,
  IDS_NO_UPDATES = 108,
  IDS_POWER_STATUS_FAILED = 117,
  IDS_TRANSFER_RATE = 124,
  IDS_SECURITY_ENABLED = 125,
  IDS_QUALIFIES = 129,
  IDS_APP_TITLE = 57344,
  IDS_PLUG_IN_AC = 57345,
};

// Every entry, read from base/string_table.inc: what the host builds hand
// to their text area in place of the executable's resource.
const std::map<os::UINT, std::u16string>& StringTable();

// The entry `id` of the executable's string table through the seam's
// LoadStringW; false (and `text` unchanged) when it cannot be loaded.
bool LoadAppString(os::UINT id, std::u16string& text);

}  // namespace base
