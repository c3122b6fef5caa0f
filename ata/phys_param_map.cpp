#include "ata/phys_param_map.h"

#include <vector>

#include "ata/exception.h"

namespace tessel {

std::string VscPhysParam1v2Map::ReadPhysString(std::uint32_t start,
                                               std::uint32_t length,
                                               char* destination,
                                               std::uint32_t destinationSize,
                                               std::uint32_t step) const {
  if (destination == nullptr ||
      std::uint64_t{destinationSize} < std::uint64_t{length} + 1) {
    throw Exception(ErrorInvalidArgument, "destination string too small");
  }
  for (std::uint32_t i = 0; i < length; ++i) {
    const std::uint64_t offset = std::uint64_t{start} + std::uint64_t{i} * step;
    if (offset > UINT32_MAX) {
      throw Exception(ErrorInvalidArgument, "Offset out of bounds");
    }
    destination[i] = static_cast<char>(Byte(static_cast<std::uint32_t>(offset)));
  }
  destination[length] = '\0';
  return std::string(destination);
}

std::string VscPhysParam1v2Map::PhysText(std::uint32_t start,
                                         std::uint32_t length,
                                         std::uint32_t step) const {
  std::vector<char> destination(length + 1);
  return ReadPhysString(start, length, destination.data(), length + 1, step);
}

}  // namespace tessel
