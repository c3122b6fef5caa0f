#include "tools/vxfw/vxfw.h"

namespace vxfw {
namespace {

constexpr char kUsage[] =
    "usage: vxfw identify FILE [--json]\n"
    "  identify  decode an IDENTIFY DEVICE block: 512 raw bytes, or 256\n"
    "            words of 4 hex digits as disk tools print them\n";

}  // namespace

int RunVxfw(const std::vector<std::u16string>& args, Output& output) {
  if (!args.empty() && args[0] == u"identify") {
    return RunIdentify({args.begin() + 1, args.end()}, output);
  }
  output.err += kUsage;
  return 2;
}

}  // namespace vxfw
