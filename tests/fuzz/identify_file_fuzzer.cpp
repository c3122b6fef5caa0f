// The vxfw identify file reader: raw or text blocks, then their decoding.
#include <string>
#include <vector>

#include "ata/exception.h"
#include "os/fake/fake_system.h"
#include "tools/vxfw/identify_decode.h"
#include "tools/vxfw/identify_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  os::fake::ScopedFakeSystem fake;  // drive text is widened by its code page
  const std::vector<std::uint8_t> contents(data, data + size);
  std::string error;
  const auto block = vxfw::ParseIdentifyFile(contents, error);
  if (!block) {
    if (error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  try {
    vxfw::DecodeIdentify(*block).dump();
  } catch (const tessel::Exception&) {
  }
  return 0;
}
