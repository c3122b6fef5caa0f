#include "tools/vxfw/vxfw.h"

namespace vxfw {
namespace {

constexpr char kUsage[] =
    "usage: vxfw identify FILE [--json]\n"
    "       vxfw list [--machine FILE|default] [--json] [--trace FILE]\n"
    "       vxfw update --machine FILE|default [--select SERIAL ...] [--json]\n"
    "  identify  decode an IDENTIFY DEVICE block: 512 raw bytes, or 256\n"
    "            words of 4 hex digits as disk tools print them\n"
    "  list      enumerate the drives as the wizard does and judge each;\n"
    "            --machine runs over a simulated machine\n"
    "  update    update the qualifying (or the selected) drives of a\n"
    "            simulated machine through the firmware driver\n";

}  // namespace

std::string Hex64(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (int shift = 60; shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0xF];
  return text;
}

int RunVxfw(const std::vector<std::u16string>& args, Output& output) {
  if (!args.empty() && args[0] == u"identify") {
    return RunIdentify({args.begin() + 1, args.end()}, output);
  }
  if (!args.empty() && args[0] == u"list") {
    return RunList({args.begin() + 1, args.end()}, output);
  }
  if (!args.empty() && args[0] == u"update") {
    return RunUpdate({args.begin() + 1, args.end()}, output);
  }
  output.err += kUsage;
  return 2;
}

}  // namespace vxfw
