#include "ata/vx_device_info.h"

#include <new>
#include <vector>

#include "ata/exception.h"
#include "ata/fields.h"
#include "ata/identify_map.h"
#include "ata/vsc_interface.h"
#include "ata/vsc_transfers.h"

namespace tessel {
namespace {

constexpr std::uint16_t kInfoRecordFunction = 0x0001;
constexpr std::uint16_t kRevisionBaseRecord = 1;
constexpr std::uint16_t kRevisionSuffixRecord = 0;
// More than any record needs: its revision text runs to a few sectors.
constexpr std::uint16_t kLargestInfoRecordSectors = 64;

// Information record layout: the entry table's offset h at 4; at h + 2 the
// value length L, at h + 4 the entry count N, from h + 6 N entries of a
// 16-bit tag and L value bytes.
constexpr std::uint32_t kTableOffset = 4;
constexpr std::uint16_t kRevisionTag = 14;

}  // namespace

std::uint16_t VxDeviceInfo::PhysFamilyId() const {
  const std::uint8_t shortForm = physParams_.Byte(physparams::kFamilyShort);
  return shortForm == physparams::kFamilyInLongForm
             ? physParams_.Word(physparams::kFamilyLong)
             : shortForm;
}

std::string VxDeviceInfo::GetPhysText1() { return physParams_.PhysText(257, 18, 2); }
std::string VxDeviceInfo::GetPhysText2() { return physParams_.PhysText(292, 10); }
std::string VxDeviceInfo::GetPhysText3() { return physParams_.PhysText(304, 10); }
std::uint16_t VxDeviceInfo::GetConfigId() {
  return physParams_.Word(physparams::kConfigId);
}
std::string VxDeviceInfo::GetPhysText4() { return physParams_.PhysText(184, 4); }
std::string VxDeviceInfo::GetPhysText5() { return physParams_.PhysText(188, 4); }
std::string VxDeviceInfo::GetPhysText6() { return physParams_.PhysText(210, 40); }
std::string VxDeviceInfo::GetPhysText7() { return physParams_.PhysText(318, 20); }

// A block without a family id defers to the IDENTIFY words.
std::uint16_t VxVscImpl4DeviceInfo::GetFamilyId() {
  const std::uint16_t family = PhysFamilyId();
  return family != 0 ? family : AtaDeviceInfo::GetFamilyId();
}

// From the revision texts A, B and C (8 characters each):
//   A0 A1 A2 B0 B1 C5 C0 C1 ' ' A2 A3 A4 B2 B3 B4 C2 C3 C4 C5
// ending at the first zero character.
std::string VxVscImpl4DeviceInfo::GetFirmwareRevisionSet() {
  using namespace physparams;
  auto at = [this](std::uint32_t field, std::uint32_t index) {
    return static_cast<char>(physParams().Byte(field + index));
  };
  const char picked[] = {
      at(kRevisionA, 0), at(kRevisionA, 1), at(kRevisionA, 2),
      at(kRevisionB, 0), at(kRevisionB, 1), at(kRevisionC, 5),
      at(kRevisionC, 0), at(kRevisionC, 1), ' ',
      at(kRevisionA, 2), at(kRevisionA, 3), at(kRevisionA, 4),
      at(kRevisionB, 2), at(kRevisionB, 3), at(kRevisionB, 4),
      at(kRevisionC, 2), at(kRevisionC, 3), at(kRevisionC, 4),
      at(kRevisionC, 5)};
  std::string set;
  for (char c : picked) {
    if (c == '\0') break;
    set += c;
  }
  return set;
}

std::uint16_t VxVscImpl5AtaDeviceInfo::GetFamilyId() { return PhysFamilyId(); }

std::string VxVscImpl5AtaDeviceInfo::GetFirmwareRevisionSet() {
  // Two statements: the drive must see the base record's exchange first.
  const std::string base = ReadInfoRecord(kRevisionBaseRecord);
  const std::string suffix = ReadInfoRecord(kRevisionSuffixRecord);
  return base + " " + suffix;
}

std::string VxVscImpl5AtaDeviceInfo::ReadInfoRecord(std::uint16_t selector) {
  std::unique_ptr<VscInterface> channel = transport_.CreateVsc();
  if (channel == nullptr) {
    throw Exception(ErrorNotImplemented, "no vendor-specific channel",
                    AtaIdentifyDeviceMap(transport_.GetIdentifyData()).VendorChannelLevel());
  }
  std::vector<std::uint8_t> record;
  InVendorMode(*channel, transport_, [&] {
    const vsc::KeySector key =
        vsc::MakeKeySector(vsc::kActionInfoRecord, kInfoRecordFunction, selector);
    const std::uint16_t sectors = channel->WriteKeySector(key.data(), vsc::kSectorSize);
    CheckLastCommand("key");
    // Refused before anything is allocated or read: up to 32 MiB and 65535
    // commands could be announced.
    if (sectors > kLargestInfoRecordSectors) {
      throw Exception(ErrorInvalidArgument, "information record too long", sectors);
    }
    try {
      record.resize(std::size_t{sectors} * vsc::kSectorSize);
    } catch (const std::bad_alloc&) {
      throw Exception(ErrorOutOfMemory, "out of memory");
    }
    for (std::uint16_t i = 0; i < sectors; ++i) {
      channel->ReadData(1, record.data() + std::size_t{i} * vsc::kSectorSize,
                        vsc::kSectorSize);
      CheckLastCommand("read data");
    }
  }, report_);
  return ParseInfoRecord(record.data(), static_cast<std::uint32_t>(record.size()));
}

std::string ParseInfoRecord(const std::uint8_t* block, std::uint32_t size) {
  const std::uint32_t table = GetWord(block, size, kTableOffset);
  const std::uint16_t valueLength = GetWord(block, size, table + 2);
  const std::uint16_t entries = GetWord(block, size, table + 4);
  // Wide enough that no walk over 65535 long entries wraps around.
  std::uint64_t entry = std::uint64_t{table} + 6;
  for (std::uint16_t i = 0; i < entries; ++i) {
    if (entry >= size) {
      throw Exception(ErrorInvalidArgument, "Offset out of bounds");
    }
    const auto at = static_cast<std::uint32_t>(entry);
    if (GetWord(block, size, at) == kRevisionTag) {
      std::string value;
      for (std::uint32_t k = 0; k < valueLength; ++k) {
        value += static_cast<char>(GetByte(block, size, at + 2 + k));
      }
      return value;
    }
    entry += 2u + valueLength;
  }
  return {};
}

}  // namespace tessel
