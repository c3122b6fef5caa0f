#include "ata/identify_map.h"

#include "ata/exception.h"

namespace tessel {
namespace {

// NAA nibble and IEEE OUI of Veltrax's world wide names: the top 28 bits.
constexpr std::uint64_t kVeltraxOuis[] = {0x5A1B2C3, 0x5C3D4E5};
constexpr unsigned kOuiShift = 36;

}  // namespace

std::uint64_t AtaIdentifyDeviceMap::WorldWideName() const {
  return std::uint64_t{IdentifyWord(108)} << 48 | std::uint64_t{IdentifyWord(109)} << 32 |
         std::uint64_t{IdentifyWord(110)} << 16 | IdentifyWord(111);
}

bool AtaIdentifyDeviceMap::HasVeltraxWorldWideName() const {
  const std::uint64_t oui = WorldWideName() >> kOuiShift;
  for (std::uint64_t veltrax : kVeltraxOuis) {
    if (oui == veltrax) return true;
  }
  return false;
}

std::uint32_t AtaIdentifyDeviceMap::LogicalSectorSize() const {
  const std::uint16_t word106 = IdentifyWord(106);
  const std::uint32_t words = Dword(identify::Word(117));
  if ((word106 & 0xC000) == 0x4000 && (word106 & 0x1000) && words != 0) return words * 2;
  return kBlockSize;
}

std::uint64_t AtaIdentifyDeviceMap::UserAddressableSectors() const {
  if (Bit(69, 3)) return Qword(identify::Word(230));
  if (Bit(83, 10)) return Qword(identify::Word(100));
  return Dword(identify::Word(60));
}

std::uint16_t AtaIdentifyDeviceMap::VeltraxFamilyId() const {
  const std::uint8_t shortForm = IdentifyWord(133) & 0xFF;
  return shortForm == identify::kLongFamilyId ? IdentifyWord(134) : shortForm;
}

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
