// Windows code page 1252 as the fake and the POSIX binding convert it: the
// table Windows uses, with the five unassigned bytes mapped to the C1
// control of the same value, as Windows does.
#pragma once

#include <optional>

#include "os/types.h"

namespace os::cp1252 {

char16_t ToUnicode(unsigned char byte);

// The byte for `unit`, or none when code page 1252 has no exact mapping.
std::optional<unsigned char> FromUnicode(char16_t unit);

// MultiByteToWideChar and WideCharToMultiByte for the ANSI code pages
// (CP_ACP, CP_THREAD_ACP) taken as 1252: the count, or 0 with `error` set
// to the call's last-error code.
int MultiByteToWide(UINT codePage, const char* multiByte, int multiByteCount,
                    char16_t* wide, int wideCount, DWORD& error);
int WideToMultiByte(UINT codePage, const char16_t* wide, int wideCount,
                    char* multiByte, int multiByteCount,
                    const char* defaultChar, BOOL* usedDefaultChar,
                    DWORD& error);

}  // namespace os::cp1252

#include <map>
#include <string>

namespace os {

// LoadStringW over a table in memory: the text cut to bufferMax - 1 units
// and a NUL; 0 with ERROR_RESOURCE_NAME_NOT_FOUND when the id is missing.
int LoadStringFromTable(const std::map<UINT, std::u16string>* table, UINT id,
                        char16_t* buffer, int bufferMax, DWORD& error);

}  // namespace os
