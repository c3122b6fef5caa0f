#include "ata/identify_map.h"

#include "ata/exception.h"

namespace tessel {

void AtaIdentifyDeviceMap::ReadAtaString(std::uint32_t start,
                                         std::uint32_t wordCount,
                                         char* destination,
                                         std::uint32_t destinationSize) const {
  if (destination == nullptr ||
      std::uint64_t{destinationSize} < 2ull * wordCount + 1) {
    throw Exception(ErrorInvalidArgument, "destination string too small");
  }
  for (std::uint32_t k = 0; k < wordCount; ++k) {
    destination[2 * k] = static_cast<char>(Byte(start + 2 * k + 1));
    destination[2 * k + 1] = static_cast<char>(Byte(start + 2 * k));
  }
  destination[2 * wordCount] = '\0';
}

}  // namespace tessel
