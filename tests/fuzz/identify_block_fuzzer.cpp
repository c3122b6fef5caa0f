// The IDENTIFY DEVICE decoding: any 512 bytes, through every value vxfw
// identify and the drive record take from a block.
#include <algorithm>

#include "ata/exception.h"
#include "os/fake/fake_system.h"
#include "tools/vxfw/identify_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  os::fake::ScopedFakeSystem fake;  // drive text is widened by its code page
  vxfw::IdentifyBytes block{};
  std::copy_n(data, std::min(size, block.size()), block.begin());
  try {
    vxfw::DecodeIdentify(block).dump();
  } catch (const tessel::Exception&) {
  }
  return 0;
}
