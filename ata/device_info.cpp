#include "ata/device_info.h"

#include <algorithm>

#include "ata/exception.h"
#include "ata/identify_map.h"

namespace tessel {
namespace {

constexpr char kVeltraxPrefix[] = "VX";

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
  // A 64-bit byte count has at most 17 digits here: the index stays inside.
  const char unit = kUnits[std::min<std::size_t>(extra / 3, sizeof kUnits - 2)];
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
  ThrowIfCommandFailed(drive_.GetTaskfile(), operation);
}

std::string AtaDeviceInfo::GetFirmwareRevision() {
  return AtaString(drive_, identify::kFirmwareOffset, identify::kFirmwareWords);
}

std::string AtaDeviceInfo::GetModelNumber() {
  return AtaString(drive_, identify::kModelOffset, identify::kModelWords);
}

std::uint32_t AtaDeviceInfo::GetLogicalSectorSize() { return MapOf(drive_).LogicalSectorSize(); }

std::string AtaDeviceInfo::GetSerialNumber() {
  return AtaString(drive_, identify::kSerialOffset, identify::kSerialWords);
}

std::uint64_t AtaDeviceInfo::GetUserAddressableSectors() {
  return MapOf(drive_).UserAddressableSectors();
}

std::uint64_t AtaDeviceInfo::GetWorldWideName() { return MapOf(drive_).WorldWideName(); }

std::uint16_t AtaDeviceInfo::GetFamilyId() {
  if (!IsVeltraxDevice()) return 0;
  return MapOf(drive_).VeltraxFamilyId();
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
  if (MapOf(drive_).HasVeltraxWorldWideName()) return true;
  return StartsWithVx(GetModelNumberTrimmed()) ||
         StartsWithVx(GetSerialNumberTrimmed());
}

}  // namespace tessel
