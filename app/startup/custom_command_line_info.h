// What the command line asks for: the words "done" and "launch", nothing
// else. The framework's parser hands each argument after the program name
// to ParseParam, one leading "-" or "/" removed.
#pragma once

#include <string>
#include <vector>

namespace app {

class CCustomCommandLineInfo {
 public:
  // `flag`: the argument had a switch character; `last`: it is the last
  // one. Neither is looked at.
  void ParseParam(const std::u16string& param, bool flag, bool last);

  bool doneRequested = false;
  bool launchRequested = false;
};

// The framework's parser over `arguments` (the program name first).
void ParseCommandLine(CCustomCommandLineInfo& info, const std::vector<std::u16string>& arguments);

}  // namespace app
