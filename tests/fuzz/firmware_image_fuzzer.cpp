// The simulator's firmware image parser: any bytes as an image.
#include <vector>

#include "sim/firmware_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> image(data, data + size);
  sim::CheckFirmwareImage(image);
  return 0;
}
