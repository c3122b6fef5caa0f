#include "ata/device_info.h"

#include "ata/exception.h"
#include "ata/identify_map.h"

namespace tessel {
namespace {

// NAA nibble and IEEE OUI of Veltrax's world wide names: the top 28 bits.
constexpr std::uint64_t kVeltraxOuis[] = {0x5A1B2C3, 0x5C3D4E5};
constexpr unsigned kOuiShift = 36;
constexpr char kVeltraxPrefix[] = "VX";
constexpr std::uint8_t kLongFamilyId = 0xFE;

AtaIdentifyDeviceMap MapOf(AtaInterface& drive) {
  return AtaIdentifyDeviceMap(drive.GetIdentifyData());
}

std::string AtaString(AtaInterface& drive, std::uint32_t start,
                      std::uint32_t words) {
  char text[2 * identify::kModelWords + 1];
  MapOf(drive).ReadAtaString(start, words, text, 2 * words + 1);
  return std::string(text);  // up to the first zero byte
}

bool StartsWithVx(const std::string& text) {
  return text.compare(0, 2, kVeltraxPrefix) == 0;
}

}  // namespace

DeviceInfo::~DeviceInfo() = default;

std::string TrimBlanks(const std::string& text) {
  const auto last = text.find_last_not_of(' ');
  if (last == std::string::npos) return {};
  return text.substr(0, last + 1).substr(text.find_first_not_of(' '));
}

std::string CapacityText(std::uint64_t bytes) {
  static constexpr char kUnits[] = "MGTPEZY";
  const std::uint64_t kilobytes = bytes / 1000 + (bytes % 1000 >= 500 ? 1 : 0);
  std::string digits = std::to_string(kilobytes / 10);  // 1/100 MB
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  const std::size_t extra = digits.size() - 3;
  const std::string d = digits.substr(0, 3);
  const char unit = kUnits[extra / 3];
  switch (extra % 3) {
    case 0:
      return d.substr(0, 1) + "." + d.substr(1) + unit;
    case 1:
      return d.substr(0, 2) + "." + d.substr(2) + unit;
    default:
      return d + unit;
  }
}

void AtaDeviceInfo::CheckLastCommand(const std::string& operation) {
  const Taskfile last = drive_.GetTaskfile();
  if (IsCommandFailure(last)) throw AtaException(last, operation);
}

std::string AtaDeviceInfo::GetFirmwareRevision() {
  return AtaString(drive_, identify::kFirmwareOffset, identify::kFirmwareWords);
}

std::string AtaDeviceInfo::GetModelNumber() {
  return AtaString(drive_, identify::kModelOffset, identify::kModelWords);
}

// Word 106 valid (15:14 = 01b) with bit 12 set: words 117-118 count the
// logical sector in 16-bit words.
std::uint32_t AtaDeviceInfo::GetLogicalSectorSize() {
  const auto map = MapOf(drive_);
  const std::uint16_t word106 = map.IdentifyWord(106);
  const std::uint32_t words = map.Dword(identify::Word(117));
  if ((word106 & 0xC000) == 0x4000 && (word106 & 0x1000) && words != 0) {
    return words * 2;
  }
  return 512;
}

std::string AtaDeviceInfo::GetSerialNumber() {
  return AtaString(drive_, identify::kSerialOffset, identify::kSerialWords);
}

// Word 69 bit 3 before word 83 bit 10 before the 28-bit count.
std::uint64_t AtaDeviceInfo::GetUserAddressableSectors() {
  const auto map = MapOf(drive_);
  if (map.Bit(69, 3)) return map.Qword(identify::Word(230));
  if (map.Bit(83, 10)) return map.Qword(identify::Word(100));
  return map.Dword(identify::Word(60));
}

std::uint64_t AtaDeviceInfo::GetWorldWideName() {
  const auto map = MapOf(drive_);
  return std::uint64_t{map.IdentifyWord(108)} << 48 |
         std::uint64_t{map.IdentifyWord(109)} << 32 |
         std::uint64_t{map.IdentifyWord(110)} << 16 | map.IdentifyWord(111);
}

std::uint16_t AtaDeviceInfo::GetFamilyId() {
  if (!IsVeltraxDevice()) return 0;
  const auto map = MapOf(drive_);
  const std::uint8_t shortForm = map.IdentifyWord(133) & 0xFF;
  return shortForm == kLongFamilyId ? map.IdentifyWord(134) : shortForm;
}

std::string AtaDeviceInfo::GetCapacityText() {
  return CapacityText(GetCapacity());
}

std::string AtaDeviceInfo::GetFirmwareRevisionTrimmed() {
  return TrimBlanks(GetFirmwareRevision());
}

std::string AtaDeviceInfo::GetModelNumberTrimmed() {
  return TrimBlanks(GetModelNumber());
}

std::string AtaDeviceInfo::GetSerialNumberTrimmed() {
  return TrimBlanks(GetSerialNumber());
}

std::uint64_t AtaDeviceInfo::GetCapacity() {
  return std::uint64_t{GetLogicalSectorSize()} * GetUserAddressableSectors();
}

bool AtaDeviceInfo::IsVeltraxDevice() {
  const std::uint64_t oui = GetWorldWideName() >> kOuiShift;
  for (std::uint64_t veltrax : kVeltraxOuis) {
    if (oui == veltrax) return true;
  }
  return StartsWithVx(GetModelNumberTrimmed()) ||
         StartsWithVx(GetSerialNumberTrimmed());
}

}  // namespace tessel
