#include "ata/vsc5_impl.h"

#include "ata/exception.h"
#include "ata/fields.h"
#include "ata/vsc_transfers.h"

namespace tessel {
namespace {

constexpr std::uint16_t kVendorModeOn = 0x0001;
constexpr std::uint16_t kVendorModeOff = 0x0002;
constexpr std::uint32_t kSignatureOffset = 258;

// Response sector: version at 0; the data length in bytes at 2 (0x0200) or
// in sectors at 10 (0x0100).
constexpr std::uint16_t kResponseSectors = 0x0100;
constexpr std::uint16_t kResponseBytes = 0x0200;
constexpr std::uint32_t kResponseBytesOffset = 2;
constexpr std::uint32_t kResponseSectorsOffset = 10;

}  // namespace

void Vsc5Impl::Enable() {
  vsc::KeySector key = vsc::MakeKeySector(vsc::kActionVendorMode, kVendorModeOn);
  for (std::size_t i = 0; i < kVsc5VendorModeSignature.size(); ++i) {
    key[kSignatureOffset + i] = kVsc5VendorModeSignature[i];
  }
  SendKeySector(key.data(), vsc::kSectorSize, "enable");
}

// Leaving vendor mode has no response to read.
void Vsc5Impl::Disable() {
  const vsc::KeySector key =
      vsc::MakeKeySector(vsc::kActionVendorMode, kVendorModeOff);
  vsc::WriteLog(drive_, vsc::kKeyLog, 1, key.data(), vsc::kSectorSize);
}

void Vsc5Impl::ReadKeyLog(std::uint8_t* buffer, std::uint32_t size) {
  if (size % vsc::kSectorSize != 0) {
    throw Exception(ErrorInvalidArgument, "buffer size not a modulo of 512");
  }
  if (size < 2 * vsc::kSectorSize) {
    throw Exception(ErrorNotImplemented,
                    "buffer size is too small, must be at least 1024 bytes");
  }
  vsc::ReadLog(drive_, vsc::kKeyLog,
               static_cast<std::uint8_t>(size / vsc::kSectorSize), buffer, size);
}

void Vsc5Impl::ReadSense(std::uint8_t* buffer, std::uint32_t size) {
  if (buffer == nullptr || size != vsc::kSectorSize) {
    throw Exception(ErrorInvalidArgument, "buffer size must be 512 bytes");
  }
  vsc::ReadLog(drive_, vsc::kResponseLog, 1, buffer, size);
}

std::uint16_t Vsc5Impl::WriteKeySector(const std::uint8_t* sector,
                                       std::uint32_t size) {
  return SendKeySector(sector, size, "key");
}

// The response read that follows would hide the key sector's registers
// from the caller, so they are judged here.
std::uint16_t Vsc5Impl::SendKeySector(const std::uint8_t* sector,
                                      std::uint32_t size, const char* step) {
  if (sector == nullptr || size != vsc::kSectorSize) {
    throw Exception(ErrorNotImplemented, "buffer size must be 512 bytes");
  }
  ThrowIfCommandFailed(vsc::WriteLog(drive_, vsc::kKeyLog, 1, sector, size), step);
  std::array<std::uint8_t, vsc::kSectorSize> response{};
  ReadSense(response.data(), vsc::kSectorSize);
  const std::uint16_t version =
      GetWord(response.data(), vsc::kSectorSize, 0);
  if (version == kResponseSectors) {
    return static_cast<std::uint16_t>(
        GetDword(response.data(), vsc::kSectorSize, kResponseSectorsOffset));
  }
  if (version == kResponseBytes) {
    return static_cast<std::uint16_t>(
        GetDword(response.data(), vsc::kSectorSize, kResponseBytesOffset) /
        vsc::kSectorSize);
  }
  throw Exception(ErrorNotImplemented, "Unknown sense version");
}

void Vsc5Impl::ReadData(std::uint8_t count, std::uint8_t* buffer,
                        std::uint32_t size) {
  vsc::ReadLog(drive_, vsc::kDataLog, count, buffer, size);
}

void Vsc5Impl::WriteData(std::uint8_t count, const std::uint8_t* data,
                         std::uint32_t size) {
  vsc::WriteLog(drive_, vsc::kDataLog, count, data, size);
}

std::uint16_t Vsc5Impl::GetDataTable(std::uint16_t table, std::uint8_t* buffer,
                                     std::uint32_t size) {
  return vsc::GetDataTable(*this, drive_, table, buffer, size);
}

void Vsc5Impl::ReadPhysParams(std::uint8_t* buffer, std::uint32_t size) {
  GetDataTable(vsc::kPhysParamsTable, buffer, size);
}

}  // namespace tessel
