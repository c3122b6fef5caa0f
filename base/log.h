// The run's log, "VLXFMUpdate.log" beside the executable: UTF-16LE without
// a byte-order mark, one CR LF line per entry, appended, written through to
// the disk, and mirrored line by line to the debugger output.
//
// Writers never open or close it: they ask IsLogOpen() and then write.
#pragma once

#include <string>

#include "base/error_info.h"
#include "base/format.h"
#include "os/types.h"

namespace base {

constexpr char16_t kLogFileName[] = u"VLXFMUpdate.log";

// Opens the log beside the executable of `module` and makes that folder the
// current directory. Does nothing while a log is open.
void OpenLog(os::HMODULE module);

// True once OpenLog has installed the log, even if its file could not be
// opened; lines then still reach the debugger output.
bool IsLogOpen();

// Appends `line` and CR LF in one write, then passes the same text to the
// debugger output.
void WriteLogText(std::u16string line);

template <class... Args>
void WriteLogLine(FormatString<std::type_identity_t<Args>...> format,
                  const Args&... args) {
  WriteLogText(Format<Args...>(format, args...));
}

// The error-information block of `info`, starting with a line break.
std::u16string FormatErrorInfo(const ErrorInfo& info);

// Ends the log; runs at process end.
void CloseLog();

}  // namespace base
