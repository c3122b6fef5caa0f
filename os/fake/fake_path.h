// Path rules of the fake file system, written from Windows' documented
// behaviour: paths compare without letter case, "/" is "\", repeated
// separators collapse, relative paths start at the current directory.
#pragma once

#include <string>
#include <string_view>

namespace os::fake {

// The lower-case absolute form of `path`, without a trailing separator
// except at a drive's root ("c:\").
std::u16string CanonicalPath(std::u16string_view path,
                             std::u16string_view currentDirectory);

// The folder holding a canonical path; a root is its own parent.
std::u16string ParentOf(const std::u16string& canonical);

// PathRemoveFileSpecW: cuts the last element and its separator, keeping a
// root's separator. True when anything was removed.
bool RemoveFileSpec(char16_t* path);

}  // namespace os::fake
