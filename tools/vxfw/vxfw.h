// vxfw, the support engineer's console tool over the core. The verbs:
//
//   vxfw identify FILE [--json]   decode one IDENTIFY DEVICE block
//   vxfw list [--machine FILE|default] [--json] [--trace FILE]
//                                 enumerate the drives and judge each
//   vxfw update --machine FILE|default [--select SERIAL ...] [--json]
//                                 run the driver road over a simulated machine
//
// Runs over whatever system is installed, so tests drive it over the fake.
#pragma once

#include <cstdint>
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
int RunList(const std::vector<std::u16string>& args, Output& output);
int RunUpdate(const std::vector<std::u16string>& args, Output& output);

// "0x" and 16 upper-case hex digits.
std::string Hex64(std::uint64_t value);

}  // namespace vxfw
