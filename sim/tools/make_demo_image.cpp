// Writes the demo package's firmware image, the file "vx7221.bin" that the
// default machine's qualifying drives accept.
#include <cstdio>

#include "sim/firmware_image.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: vx_make_demo_image FILE\n", stderr);
    return 2;
  }
  const auto image = sim::BuildDemoImage();
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr || std::fwrite(image.data(), 1, image.size(), file) != image.size()) {
    std::perror(argv[1]);
    if (file != nullptr) std::fclose(file);
    return 1;
  }
  return std::fclose(file) == 0 ? 0 : 1;
}
