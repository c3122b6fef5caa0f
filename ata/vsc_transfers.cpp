#include "ata/vsc_transfers.h"

#include "ata/command_blocks.h"
#include "ata/exception.h"
#include "ata/fields.h"
#include "ata/vsc_interface.h"

namespace tessel::vsc {
namespace {

constexpr std::uint16_t kSmartReadLog = 0xD5;
constexpr std::uint16_t kSmartWriteLog = 0xD6;

// The channel's log transfers leave the device register at 0.
Taskfile LogTransfer(std::uint16_t features, std::uint8_t log, std::uint8_t count) {
  return SmartCommand(features, log, count, 0);
}

}  // namespace

KeySector MakeKeySector(std::uint16_t action, std::uint16_t first,
                        std::uint16_t second) {
  KeySector sector{};
  PutWord(sector.data(), kSectorSize, 0, action);
  PutWord(sector.data(), kSectorSize, 2, first);
  PutWord(sector.data(), kSectorSize, 4, second);
  return sector;
}

Taskfile ReadLog(AtaInterface& drive, std::uint8_t log, std::uint8_t count,
                 std::uint8_t* buffer, std::uint32_t size) {
  Taskfile t = LogTransfer(kSmartReadLog, log, count);
  drive.ExecuteCommand(AtaProtocol::PioIn, t, buffer, size);
  return t;
}

// The transports only read the data of a data-out command.
Taskfile WriteLog(AtaInterface& drive, std::uint8_t log, std::uint8_t count,
                  const std::uint8_t* data, std::uint32_t size) {
  Taskfile t = LogTransfer(kSmartWriteLog, log, count);
  drive.ExecuteCommand(AtaProtocol::PioOut, t, const_cast<std::uint8_t*>(data),
                       size);
  return t;
}

std::uint16_t GetDataTable(VscInterface& channel, AtaInterface& drive,
                           std::uint16_t table, std::uint8_t* buffer,
                           std::uint32_t size) {
  const KeySector key = MakeKeySector(kActionDataTable, table);
  const std::uint16_t sectors = channel.WriteKeySector(key.data(), kSectorSize);
  ThrowIfCommandFailed(drive.GetTaskfile(), "key");
  const std::uint32_t bytes = std::uint32_t{sectors} * kSectorSize;
  if (size < bytes) {
    throw Exception(ErrorInvalidArgument,
                    "GetDataTable() - buffer size is too small");
  }
  // The count register has 8 bits; the channel sends what fits.
  channel.ReadData(static_cast<std::uint8_t>(sectors), buffer, bytes);
  return sectors;
}

}  // namespace tessel::vsc
