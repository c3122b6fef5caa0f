#include "ata/ata_drive.h"

#include <cstring>
#include <new>

#include "ata/command_blocks.h"
#include "ata/exception.h"
#include "ata/fields.h"
#include "ata/identify_map.h"
#include "ata/vsc4_impl.h"
#include "ata/vsc5_impl.h"

namespace tessel {
namespace {

// Opcodes.
constexpr std::uint8_t kIdentifyDevice = 0xEC;
constexpr std::uint8_t kDownloadMicrocode = 0x92;
constexpr std::uint8_t kReadDma = 0xC8;
constexpr std::uint8_t kReadDmaExt = 0x25;
constexpr std::uint8_t kReadLogDmaExt = 0x47;
constexpr std::uint8_t kReadLogExt = 0x2F;
constexpr std::uint8_t kReadSectors = 0x20;
constexpr std::uint8_t kReadSectorsExt = 0x24;
constexpr std::uint8_t kReadVerifySectors = 0x40;
constexpr std::uint8_t kReadVerifySectorsExt = 0x42;
constexpr std::uint8_t kWriteDma = 0xCA;
constexpr std::uint8_t kWriteDmaExt = 0x35;
constexpr std::uint8_t kWriteLogDmaExt = 0x57;
constexpr std::uint8_t kWriteLogExt = 0x3F;
constexpr std::uint8_t kWriteSectors = 0x30;
constexpr std::uint8_t kWriteSectorsExt = 0x34;
constexpr std::uint8_t kSetFeatures = 0xEF;
constexpr std::uint8_t kFlushCache = 0xE7;
constexpr std::uint8_t kFlushCacheExt = 0xEA;
constexpr std::uint8_t kCheckPowerMode = 0xE5;
constexpr std::uint8_t kIdle = 0xE3;
constexpr std::uint8_t kIdleImmediate = 0xE1;
constexpr std::uint8_t kSleep = 0xE6;
constexpr std::uint8_t kStandbyImmediate = 0xE0;
constexpr std::uint8_t kStandby = 0xE2;
constexpr std::uint8_t kRecalibrate = 0x10;

// SMART subcommands (features) and the signature in LBA mid/high.
constexpr std::uint16_t kSmartReadData = 0xD0;
constexpr std::uint16_t kSmartReadThreshold = 0xD1;
constexpr std::uint16_t kSmartExecuteOffline = 0xD4;
constexpr std::uint16_t kSmartReadLog = 0xD5;
constexpr std::uint16_t kSmartWriteLog = 0xD6;
constexpr std::uint16_t kSmartEnable = 0xD8;
constexpr std::uint16_t kSmartDisable = 0xD9;
constexpr std::uint16_t kSmartReturnStatus = 0xDA;

// SET FEATURES subcommands.
constexpr std::uint16_t kFeatureSpinUp = 0x07;
constexpr std::uint16_t kFeatureEnableAcoustic = 0x42;
constexpr std::uint16_t kFeatureDisableAcoustic = 0xC2;

// SCT command transport: the command block goes to log 0xE0, its data to
// log 0xE1.
constexpr std::uint8_t kSctCommandLog = 0xE0;
constexpr std::uint8_t kSctDataLog = 0xE1;
constexpr std::uint16_t kSctActionWriteSame = 0x0002;
constexpr std::uint16_t kSctWriteSamePattern = 0x01;
constexpr std::uint16_t kSctWriteSameData = 0x02;

constexpr std::uint8_t kDeviceLba = 0xE0;
constexpr std::uint8_t kDeviceLog = 0x40;

void Require(bool holds, const char* message) {
  if (!holds) throw Exception(ErrorInvalidArgument, message);
}

void Zero(std::uint8_t* buffer, std::uint32_t size) {
  if (size != 0) std::memset(buffer, 0, size);
}

// LBA 27:24 travel in the device register.
Taskfile Address28(std::uint8_t command, std::uint32_t lba,
                   std::uint8_t count) {
  Taskfile t = Command(command, kDeviceLba | ((lba >> 24) & 0x0F));
  t.lba = lba & 0x00FFFFFF;
  t.count = count;
  return t;
}

Taskfile Address64(std::uint8_t command, std::uint64_t lba,
                   std::uint16_t count) {
  Taskfile t = Command(command, kDeviceLba);
  t.lba = lba;
  t.count = count;
  return t;
}

// The log address in LBA 7:0, the page number in LBA 15:8 and 39:32.
Taskfile LogAddress(std::uint8_t command, std::uint16_t features,
                    std::uint8_t logAddress, std::uint16_t pageNumber,
                    std::uint16_t pageCount) {
  Taskfile t = Command(command, kDeviceLog);
  t.features = features;
  t.lba = logAddress | (std::uint64_t{pageNumber & 0xFFu} << 8) |
          (std::uint64_t{pageNumber} >> 8 << 32);
  t.count = pageCount;
  return t;
}

Taskfile Smart(std::uint16_t features, std::uint8_t lbaLow = 0, std::uint16_t count = 0) {
  return SmartCommand(features, lbaLow, count, kDeviceLba);
}

Taskfile SetFeatures(std::uint16_t features, std::uint8_t device,
                     std::uint16_t count = 0) {
  Taskfile t = Command(kSetFeatures, device);
  t.features = features;
  t.count = count;
  return t;
}

bool HasBuffer(const std::uint8_t* buffer, std::uint32_t size) {
  return buffer != nullptr || size == 0;
}

// SCT command block, 512 bytes, little-endian, all other bytes zero:
//   0   16  action code 0x0002 (Write Same)
//   2   16  function: 7:0 = 0x01 pattern / 0x02 data block, 15:8 foreground
//   4   64  start LBA
//   12  64  block count
//   20  32  pattern (pattern form only)
std::array<std::uint8_t, AtaDrive::kSectorSize> WriteSameBlock(
    std::uint16_t function, std::uint8_t foreground, std::uint64_t startLba,
    std::uint64_t blockCount) {
  std::array<std::uint8_t, AtaDrive::kSectorSize> block{};
  PutWord(block.data(), AtaDrive::kSectorSize, 0, kSctActionWriteSame);
  block[2] = static_cast<std::uint8_t>(function);
  block[3] = foreground;
  PutQword(block.data(), 4, startLba);
  PutQword(block.data(), 12, blockCount);
  return block;
}

}  // namespace

// The transports only read the data of a data-out command; ExecuteCommand
// takes one pointer for both directions.
void AtaDrive::SendData(AtaProtocol protocol, Taskfile& taskfile,
                        const std::uint8_t* data, std::uint32_t size) {
  ExecuteCommand(protocol, taskfile, const_cast<std::uint8_t*>(data), size);
}

// A data-in command: its buffer rule before anything is sent, the buffer
// zeroed where the command asks for it, then the call.
void AtaDrive::ReadCommand(AtaProtocol protocol, Taskfile taskfile, std::uint8_t* buffer,
                           std::uint32_t size, std::uint64_t needed, bool zeroed,
                           const char* message) {
  Require(HasBuffer(buffer, size) && size >= needed, message);
  if (zeroed) Zero(buffer, size);
  ExecuteCommand(protocol, taskfile, buffer, size);
}

void AtaDrive::WriteCommand(AtaProtocol protocol, Taskfile taskfile, const std::uint8_t* data,
                            std::uint32_t size, std::uint64_t needed, const char* message) {
  Require(HasBuffer(data, size) && size >= needed, message);
  SendData(protocol, taskfile, data, size);
}

void AtaDrive::SendNonData(AtaProtocol protocol, Taskfile taskfile) {
  ExecuteCommand(protocol, taskfile, nullptr, 0);
}

std::uint64_t AtaDrive::SectorBytes(std::uint32_t count) {
  return std::uint64_t{GetLogicalSectorSize()} * count;
}

std::int32_t AtaDrive::GetTimeout() const { return timeoutMs_; }

void AtaDrive::SetTimeout(std::int32_t milliseconds) {
  timeoutMs_ = milliseconds;
}

const Taskfile& AtaDrive::GetTaskfile() const { return lastTaskfile_; }

void AtaDrive::IdentifyDevice(std::uint8_t* buffer, std::uint32_t size) {
  Require(buffer != nullptr && size >= kSectorSize, "buffer is too small");
  Zero(buffer, size);
  Taskfile first = Command(kIdentifyDevice);
  first.count = 1;
  ExecuteCommand(AtaProtocol::PioIn, first, buffer, size);
  // A failed IDENTIFY is left for the caller to find in the registers.
  if (IsCommandFailure(first)) return;
  // Word 2 = 0x37C8: the drive waits for the spin-up subcommand and its
  // IDENTIFY data is incomplete until then.
  if (!AtaIdentifyDeviceMap(buffer).NeedsSpinUp()) return;
  SpinUp();
  Taskfile second = Command(kIdentifyDevice);
  second.count = 1;
  ExecuteCommand(AtaProtocol::PioIn, second, buffer, size);
}

void AtaDrive::RefreshIdentify() {
  IdentifyDevice(identifyCache_.data(), kSectorSize);
}

std::uint8_t AtaDrive::DownloadMicrocode(std::uint8_t subcommand,
                                         std::uint16_t blockCount,
                                         std::uint16_t bufferOffset,
                                         const std::uint8_t* data,
                                         std::uint32_t size) {
  Require(HasBuffer(data, size) &&
              size >= std::uint64_t{blockCount} * kSectorSize,
          "buffer is too small");
  // Block count 15:8 and the buffer offset ride in the LBA registers.
  Taskfile t = Command(kDownloadMicrocode);
  t.features = subcommand;
  t.count = blockCount & 0xFF;
  t.lba = (blockCount >> 8) | (std::uint64_t{bufferOffset} << 8);
  SendData(AtaProtocol::PioOut, t, data, size);
  const std::uint8_t status = t.outCount & 0xFF;
  return (status >= 1 && status <= 3) ? status : 0;
}

void AtaDrive::ReadDma(std::uint32_t lba, std::uint8_t count,
                       std::uint8_t* buffer, std::uint32_t size) {
  ReadCommand(AtaProtocol::DmaIn, Address28(kReadDma, lba, count), buffer, size,
              SectorBytes(count), true, "buffer is too small");
}

void AtaDrive::ReadDmaExt(std::uint64_t lba, std::uint16_t count,
                          std::uint8_t* buffer, std::uint32_t size) {
  ReadCommand(AtaProtocol::DmaInExt, Address64(kReadDmaExt, lba, count), buffer, size,
              SectorBytes(count), true, "buffer is too small");
}

void AtaDrive::ReadLogDmaExt(std::uint16_t features, std::uint8_t logAddress,
                             std::uint16_t pageNumber, std::uint16_t pageCount,
                             std::uint8_t* buffer, std::uint32_t size) {
  ReadCommand(AtaProtocol::DmaInExt,
              LogAddress(kReadLogDmaExt, features, logAddress, pageNumber, pageCount), buffer,
              size, std::uint64_t{pageCount} * kSectorSize, false, "buffer is too small");
}

void AtaDrive::ReadLogExt(std::uint16_t features, std::uint8_t logAddress,
                          std::uint16_t pageNumber, std::uint16_t pageCount,
                          std::uint8_t* buffer, std::uint32_t size) {
  ReadCommand(AtaProtocol::PioInExt,
              LogAddress(kReadLogExt, features, logAddress, pageNumber, pageCount), buffer,
              size, std::uint64_t{pageCount} * kSectorSize, false, "buffer is too small");
}

void AtaDrive::ReadSectors(std::uint32_t lba, std::uint8_t count,
                           std::uint8_t* buffer, std::uint32_t size) {
  ReadCommand(AtaProtocol::PioIn, Address28(kReadSectors, lba, count), buffer, size,
              SectorBytes(count), true, "buffer is too small");
}

void AtaDrive::ReadSectorsExt(std::uint64_t lba, std::uint16_t count,
                              std::uint8_t* buffer, std::uint32_t size) {
  ReadCommand(AtaProtocol::PioInExt, Address64(kReadSectorsExt, lba, count), buffer, size,
              SectorBytes(count), true, "buffer is too small");
}

void AtaDrive::ReadVerifySectors(std::uint32_t lba, std::uint8_t count) {
  SendNonData(AtaProtocol::NonData, Address28(kReadVerifySectors, lba, count));
}

void AtaDrive::ReadVerifySectorsExt(std::uint64_t lba, std::uint16_t count) {
  SendNonData(AtaProtocol::NonDataExt,
              Address64(kReadVerifySectorsExt, lba, count));
}

void AtaDrive::WriteDma(std::uint32_t lba, std::uint8_t count,
                        const std::uint8_t* data, std::uint32_t size) {
  WriteCommand(AtaProtocol::DmaOut, Address28(kWriteDma, lba, count), data, size,
               SectorBytes(count), "buffer is too small");
}

void AtaDrive::WriteDmaExt(std::uint64_t lba, std::uint16_t count,
                           const std::uint8_t* data, std::uint32_t size) {
  WriteCommand(AtaProtocol::DmaOutExt, Address64(kWriteDmaExt, lba, count), data, size,
               SectorBytes(count), "buffer is too small");
}

void AtaDrive::WriteLogDmaExt(std::uint16_t features, std::uint8_t logAddress,
                              std::uint16_t pageNumber,
                              std::uint16_t pageCount,
                              const std::uint8_t* data, std::uint32_t size) {
  WriteCommand(AtaProtocol::DmaOutExt,
               LogAddress(kWriteLogDmaExt, features, logAddress, pageNumber, pageCount), data,
               size, std::uint64_t{pageCount} * kSectorSize, "buffer size is too small");
}

void AtaDrive::WriteLogExt(std::uint16_t features, std::uint8_t logAddress,
                           std::uint16_t pageNumber, std::uint16_t pageCount,
                           const std::uint8_t* data, std::uint32_t size) {
  WriteCommand(AtaProtocol::PioOutExt,
               LogAddress(kWriteLogExt, features, logAddress, pageNumber, pageCount), data,
               size, std::uint64_t{pageCount} * kSectorSize, "buffer size is too small");
}

void AtaDrive::WriteSectors(std::uint32_t lba, std::uint8_t count,
                            const std::uint8_t* data, std::uint32_t size) {
  WriteCommand(AtaProtocol::PioOut, Address28(kWriteSectors, lba, count), data, size,
               SectorBytes(count), "buffer is too small");
}

void AtaDrive::WriteSectorsExt(std::uint64_t lba, std::uint16_t count,
                               const std::uint8_t* data, std::uint32_t size) {
  WriteCommand(AtaProtocol::PioOutExt, Address64(kWriteSectorsExt, lba, count), data, size,
               SectorBytes(count), "buffer is too small");
}

void AtaDrive::SmartDisableOperations() {
  SendNonData(AtaProtocol::NonData, Smart(kSmartDisable));
}

void AtaDrive::SmartEnableOperations() {
  SendNonData(AtaProtocol::NonData, Smart(kSmartEnable));
}

void AtaDrive::SmartExecuteOfflineImmediate(std::uint8_t subcommand) {
  SendNonData(AtaProtocol::NonData, Smart(kSmartExecuteOffline, subcommand));
}

void AtaDrive::SmartReadData(std::uint8_t* buffer, std::uint32_t size) {
  Require(buffer != nullptr && size >= kSectorSize,
          "SmartReadData() - buffer size is too small");
  Zero(buffer, size);
  Taskfile t = Smart(kSmartReadData, 0, 1);
  ExecuteCommand(AtaProtocol::PioIn, t, buffer, size);
}

void AtaDrive::SmartReadLog(std::uint8_t logAddress, std::uint8_t count,
                            std::uint8_t* buffer, std::uint32_t size) {
  Require(HasBuffer(buffer, size) && size >= std::uint32_t{count} * kSectorSize,
          "SmartReadLog() - buffer size is too small");
  Zero(buffer, size);
  Taskfile t = Smart(kSmartReadLog, logAddress, count);
  ExecuteCommand(AtaProtocol::PioIn, t, buffer, size);
}

void AtaDrive::SmartReadThreshold(std::uint8_t* buffer, std::uint32_t size) {
  Require(buffer != nullptr && size >= kSectorSize,
          "SmartReadThreshold() - buffer size is too small");
  Zero(buffer, size);
  Taskfile t = Smart(kSmartReadThreshold, 0, 1);
  ExecuteCommand(AtaProtocol::PioIn, t, buffer, size);
}

// The drive answers "no threshold exceeded" by returning the signature
// unchanged in LBA mid and high.
bool AtaDrive::SmartReturnStatus() {
  Taskfile t = Smart(kSmartReturnStatus);
  ExecuteCommand(AtaProtocol::NonData, t, nullptr, 0);
  return (t.outLbaMid & 0xFF) == kSmartLbaMid &&
         (t.outLbaHigh & 0xFF) == kSmartLbaHigh;
}

void AtaDrive::SmartWriteLog(std::uint8_t logAddress, std::uint8_t count,
                             const std::uint8_t* data, std::uint32_t size) {
  Require(HasBuffer(data, size) && size == std::uint32_t{count} * kSectorSize,
          "buffer size is incorrect");
  Taskfile t = Smart(kSmartWriteLog, logAddress, count);
  SendData(AtaProtocol::PioOut, t, data, size);
}

void AtaDrive::DisableAcousticManagement() {
  SendNonData(AtaProtocol::NonData,
              SetFeatures(kFeatureDisableAcoustic, kDeviceLog));
}

void AtaDrive::EnableAcousticManagement(std::uint8_t level) {
  SendNonData(AtaProtocol::NonData,
              SetFeatures(kFeatureEnableAcoustic, kDeviceLog, level));
}

void AtaDrive::SpinUp() {
  SendNonData(AtaProtocol::NonData, SetFeatures(kFeatureSpinUp, 0));
}

void AtaDrive::FlushCache() {
  SendNonData(AtaProtocol::NonData, Command(kFlushCache));
}

void AtaDrive::FlushCacheExt() {
  SendNonData(AtaProtocol::NonDataExt, Command(kFlushCacheExt));
}

std::uint8_t AtaDrive::CheckPowerMode() {
  Taskfile t = Command(kCheckPowerMode);
  ExecuteCommand(AtaProtocol::NonData, t, nullptr, 0);
  return t.outCount & 0xFF;
}

void AtaDrive::Idle(std::uint8_t standbyTimer) {
  Taskfile t = Command(kIdle);
  t.count = standbyTimer;
  SendNonData(AtaProtocol::NonData, t);
}

void AtaDrive::IdleImmediate() {
  SendNonData(AtaProtocol::NonData, Command(kIdleImmediate));
}

void AtaDrive::Sleep() { SendNonData(AtaProtocol::NonData, Command(kSleep)); }

void AtaDrive::StandbyImmediate() {
  SendNonData(AtaProtocol::NonData, Command(kStandbyImmediate));
}

void AtaDrive::Standby(std::uint8_t standbyTimer) {
  Taskfile t = Command(kStandby);
  t.count = standbyTimer;
  SendNonData(AtaProtocol::NonData, t);
}

void AtaDrive::Recalibrate() {
  SendNonData(AtaProtocol::NonData, Command(kRecalibrate));
}

void AtaDrive::SctReadStatus(std::uint8_t* buffer, std::uint32_t size) {
  SmartReadLog(kSctCommandLog, 1, buffer, size);
}

void AtaDrive::SctWriteSame(std::uint64_t startLba, std::uint64_t blockCount,
                            const std::uint8_t* data, std::uint32_t size,
                            std::uint8_t foreground) {
  Require(data != nullptr && size >= kSectorSize,
          "SctWriteSame buffer size is too small");
  // The data sector must be exactly one sector; checked before the command
  // block goes out, so the drive is never left waiting for data that is
  // then refused.
  Require(size == kSectorSize, "buffer size is incorrect");
  const auto block =
      WriteSameBlock(kSctWriteSameData, foreground, startLba, blockCount);
  SmartWriteLog(kSctCommandLog, 1, block.data(), kSectorSize);
  const Taskfile& reply = GetTaskfile();
  const unsigned sectorsWanted =
      (reply.outLbaHigh & 0xFF) * 256u + (reply.outLbaMid & 0xFF);
  if (sectorsWanted != 1) {
    throw Exception(ErrorAtaCommand, "SctWriteSame data transfer invalid length");
  }
  SmartWriteLog(kSctDataLog, 1, data, size);
}

void AtaDrive::SctWriteSamePattern(std::uint64_t startLba,
                                   std::uint64_t blockCount,
                                   std::uint32_t pattern,
                                   std::uint8_t foreground) {
  auto block =
      WriteSameBlock(kSctWriteSamePattern, foreground, startLba, blockCount);
  for (unsigned i = 0; i < 4; ++i) {
    block[20 + i] = static_cast<std::uint8_t>(pattern >> (8 * i));
  }
  SmartWriteLog(kSctCommandLog, 1, block.data(), kSectorSize);
}

void AtaDrive::ReadTaskfile(Taskfile&) {
  throw Exception(ErrorNotImplemented, "Read task file not implemented");
}

std::uint32_t AtaDrive::ReadScr(std::uint32_t) {
  throw Exception(ErrorNotImplemented, "Read SCR not implemented");
}

void AtaDrive::SataBist(std::uint8_t) {
  throw Exception(ErrorNotImplemented, "SATA BIST is not supported");
}

void AtaDrive::WriteScr(std::uint32_t, std::uint32_t) {
  throw Exception(ErrorNotImplemented, "Write SCR not implemented");
}

const std::uint8_t* AtaDrive::GetIdentifyData() {
  if (identifyCache_[0] == 0) RefreshIdentify();
  return identifyCache_.data();
}

std::unique_ptr<VscInterface> AtaDrive::CreateVsc() {
  try {
    switch (AtaIdentifyDeviceMap(GetIdentifyData()).VendorChannelLevel()) {
      case 4:
        return std::make_unique<Vsc4Impl>(*this);
      case 5:
        return std::make_unique<Vsc5Impl>(*this);
      default:
        return nullptr;
    }
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::uint32_t AtaDrive::GetLogicalSectorSize() {
  return AtaIdentifyDeviceMap(GetIdentifyData()).LogicalSectorSize();
}

}  // namespace tessel
