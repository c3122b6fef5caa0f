// vxfw, the support engineer's console tool over the core. The verbs:
//
//   vxfw identify FILE [--json]   decode one IDENTIFY DEVICE block
//
// Runs over whatever system is installed, so tests drive it over the fake.
#pragma once

#include <string>
#include <vector>

namespace vxfw {

struct Output {
  std::string out;  // UTF-8
  std::string err;  // UTF-8
};

// The arguments after the program name; returns the exit status: 0 done,
// 1 the work failed, 2 the command line or the input was not usable.
int RunVxfw(const std::vector<std::u16string>& args, Output& output);

int RunIdentify(const std::vector<std::u16string>& args, Output& output);

}  // namespace vxfw
