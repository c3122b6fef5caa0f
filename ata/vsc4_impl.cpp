#include "ata/vsc4_impl.h"

#include "ata/command_blocks.h"
#include "ata/exception.h"
#include "ata/vsc_transfers.h"

namespace tessel {
namespace {

// Vendor mode: command 0x80, features 0x45 on / 0x44 off, the signature
// 0x613C in LBA high/mid.
constexpr std::uint8_t kVendorModeCommand = 0x80;
constexpr std::uint16_t kVendorModeOn = 0x45;
constexpr std::uint16_t kVendorModeOff = 0x44;
constexpr std::uint64_t kVendorModeSignatureLba = (0x61ull << 16) | (0x3Cull << 8);

}  // namespace

void Vsc4Impl::SendVendorMode(std::uint16_t features) {
  Taskfile t = Command(kVendorModeCommand);
  t.features = features;
  t.lba = kVendorModeSignatureLba;
  drive_.ExecuteCommand(AtaProtocol::NonData, t, nullptr, 0);
}

void Vsc4Impl::Enable() { SendVendorMode(kVendorModeOn); }

void Vsc4Impl::Disable() { SendVendorMode(kVendorModeOff); }

void Vsc4Impl::ReadKeyLog(std::uint8_t* buffer, std::uint32_t size) {
  if (buffer == nullptr || size != vsc::kSectorSize) {
    throw Exception(ErrorInvalidArgument, "buffer should be 512 bytes");
  }
  vsc::ReadLog(drive_, vsc::kKeyLog, 1, buffer, size);
}

void Vsc4Impl::ReadSense(std::uint8_t*, std::uint32_t) {
  throw Exception(ErrorNotImplemented, "not yet implemented");
}

// The drive announces the length of the action's data in LBA high/mid.
std::uint16_t Vsc4Impl::WriteKeySector(const std::uint8_t* sector,
                                       std::uint32_t size) {
  if (sector == nullptr || size != vsc::kSectorSize) {
    throw Exception(ErrorInvalidArgument, "key sector should be 512 bytes");
  }
  const Taskfile t = vsc::WriteLog(drive_, vsc::kKeyLog, 1, sector, size);
  return static_cast<std::uint16_t>((t.outLbaHigh & 0xFF) << 8 |
                                    (t.outLbaMid & 0xFF));
}

void Vsc4Impl::ReadData(std::uint8_t count, std::uint8_t* buffer,
                        std::uint32_t size) {
  vsc::ReadLog(drive_, vsc::kDataLog, count, buffer, size);
}

void Vsc4Impl::WriteData(std::uint8_t count, const std::uint8_t* data,
                         std::uint32_t size) {
  vsc::WriteLog(drive_, vsc::kDataLog, count, data, size);
}

std::uint16_t Vsc4Impl::GetDataTable(std::uint16_t table, std::uint8_t* buffer,
                                     std::uint32_t size) {
  return vsc::GetDataTable(*this, drive_, table, buffer, size);
}

void Vsc4Impl::ReadPhysParams(std::uint8_t* buffer, std::uint32_t size) {
  GetDataTable(vsc::kPhysParamsTable, buffer, size);
}

}  // namespace tessel
