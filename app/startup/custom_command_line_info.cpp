#include "app/startup/custom_command_line_info.h"

#include "os/ascii_case.h"

namespace app {

void CCustomCommandLineInfo::ParseParam(const std::u16string& param, bool, bool) {
  const std::u16string lower = os::AsciiLower(param);
  if (lower == u"done") doneRequested = true;
  if (lower == u"launch") launchRequested = true;
}

void ParseCommandLine(CCustomCommandLineInfo& info, const std::vector<std::u16string>& arguments) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    const bool flag = !argument.empty() && (argument[0] == u'-' || argument[0] == u'/');
    info.ParseParam(flag ? argument.substr(1) : argument, flag, i + 1 == arguments.size());
  }
}

}  // namespace app
