#include "app/startup/command_line.h"

namespace app {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  std::vector<std::u16string> arguments;
  std::size_t at = 0;
  // The program name: no escapes.
  std::u16string program;
  if (at < line.size() && line[at] == u'"') {
    ++at;
    while (at < line.size() && line[at] != u'"') program += line[at++];
    if (at < line.size()) ++at;
  } else {
    while (at < line.size() && !IsBlank(line[at])) program += line[at++];
  }
  arguments.push_back(std::move(program));

  while (true) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at >= line.size()) break;
    std::u16string argument;
    bool quoted = false;
    while (at < line.size() && (quoted || !IsBlank(line[at]))) {
      std::size_t backslashes = 0;
      while (at < line.size() && line[at] == u'\\') {
        ++backslashes;
        ++at;
      }
      if (at < line.size() && line[at] == u'"') {
        argument.append(backslashes / 2, u'\\');
        if (backslashes % 2 == 1) {
          argument += u'"';
          ++at;
        } else if (quoted && at + 1 < line.size() && line[at + 1] == u'"') {
          argument += u'"';
          at += 2;
        } else {
          quoted = !quoted;
          ++at;
        }
      } else {
        argument.append(backslashes, u'\\');
        if (at < line.size() && (quoted || !IsBlank(line[at]))) argument += line[at++];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace app
