// REG_MULTI_SZ lists: NUL-terminated UTF-16 strings closed by one more NUL.
// A list's length in units counts every string with its NUL and the
// closing NUL; a list whose first unit is NUL has length 1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "os/registry.h"

namespace update {

using MultiString = std::vector<char16_t>;

// The length in units of the list `list` holds, walking no further than
// `capacity` units; the capacity when the list does not end inside it.
std::uint32_t MultiStringLength(const char16_t* list, std::uint32_t capacity);

// "BootExecute" of the open Session Manager key into `buffer` of
// `capacity` units. 0 with `length` set, or the error: 122 for a capacity
// below 2, the registry's own status, or 13 for a value that is not a
// well-formed REG_MULTI_SZ.
os::LSTATUS QueryBootExecute(os::HKEY key, char16_t* buffer, std::uint32_t capacity,
                             std::uint32_t& length);

// Writes `list` back as "BootExecute", sized by walking it to its closing
// NUL; 13 when there is no list.
os::LSTATUS SetBootExecute(os::HKEY key, const MultiString* list);

// Cuts out every entry equal to `name` without regard to case; returns how
// many, and leaves `list` its new length.
int RemoveMultiStringEntry(MultiString& list, const std::u16string& name);

// `name` and its NUL before the old list; false, and the list unchanged,
// when the new one cannot be allocated.
bool PrependMultiStringEntry(const std::u16string& name, MultiString& list);

}  // namespace update
