// vxfw identify FILE [--json]: every value the library decodes from one
// IDENTIFY DEVICE block, and the capability bits the drive record uses.
#include <nlohmann/json.hpp>

#include <cstdio>

#include "ata/exception.h"
#include "tools/vxfw/identify_decode.h"
#include "tools/vxfw/identify_file.h"
#include "base/read_file.h"
#include "tools/vxfw/utf8.h"
#include "tools/vxfw/vxfw.h"

namespace vxfw {
namespace {

constexpr std::size_t kLargestIdentifyFile = 64 * 1024;

std::string AsText(const nlohmann::ordered_json& j) {
  std::string out;
  for (const auto& [key, value] : j.items()) {
    out += key + ": " + value.dump() + "\n";
  }
  return out;
}

}  // namespace

int RunIdentify(const std::vector<std::u16string>& args, Output& output) {
  bool json = false;
  std::u16string path;
  for (const auto& arg : args) {
    if (arg == u"--json") {
      json = true;
    } else if (path.empty() && !arg.starts_with(u"--")) {
      path = arg;
    } else {
      output.err += "vxfw identify: unexpected argument " + ToUtf8(arg) + "\n";
      return 2;
    }
  }
  if (path.empty()) {
    output.err += "usage: vxfw identify FILE [--json]\n";
    return 2;
  }
  os::DWORD error = 0;
  const auto contents = base::ReadWholeFile(path, kLargestIdentifyFile, error);
  if (!contents) {
    output.err += "vxfw identify: cannot read " + ToUtf8(path) +
                  " (error " + std::to_string(error) + ")\n";
    return 2;
  }
  std::string why;
  const auto block = ParseIdentifyFile(*contents, why);
  if (!block) {
    output.err += "vxfw identify: " + ToUtf8(path) +
                  " is not an IDENTIFY DEVICE block: " + why + "\n";
    return 2;
  }
  try {
    const auto decoded = DecodeIdentify(*block);
    output.out += json ? decoded.dump(2) + "\n" : AsText(decoded);
    return 0;
  } catch (const tessel::Exception& e) {
    output.err += "vxfw identify: " + e.message() + "\n";
    return 1;
  }
}

}  // namespace vxfw
