// Rich text from the executable's resources (type 2020) into a memory
// file, and from there into a rich edit control.
#pragma once

#include <windows.h>
#include <richedit.h>

#include "base/memory_file.h"

namespace ui {

// Fills `buffer` with the resource's bytes and rewinds it; any failure
// leaves it empty, silently.
void LoadRtfResource(base::CMemFile& buffer, UINT id);

// EM_STREAMIN with SF_RTF; `callback` reads the page's buffer.
void StreamRtfIn(HWND richEdit, EDITSTREAMCALLBACK callback);

// What a stream callback does with a buffer: up to `count` bytes, the
// number delivered in `delivered`; 0.
DWORD ReadForStream(base::CMemFile& buffer, LPBYTE destination, LONG count, LONG* delivered);

}  // namespace ui
