// The transfers every level of the vendor-specific channel is made of: one
// SMART command each (LBA mid 0x4F, LBA high 0xC2, device 0), sent straight
// to the drive's ExecuteCommand.
//
//   transfer            features  log (LBA 7:0)  count    protocol
//   key sector out      0xD6      0xBE           1        PioOut
//   key log in          0xD5      0xBE           sectors  PioIn
//   response in         0xD5      0xBD           1        PioIn
//   data in             0xD5      0xBF           sectors  PioIn
//   data out            0xD6      0xBF           sectors  PioOut
#pragma once

#include <array>
#include <cstdint>

#include "ata/ata_interface.h"

namespace tessel::vsc {

constexpr std::uint32_t kSectorSize = 512;
constexpr std::uint8_t kKeyLog = 0xBE;
constexpr std::uint8_t kResponseLog = 0xBD;
constexpr std::uint8_t kDataLog = 0xBF;

// Action codes of the key sector (word at 0).
constexpr std::uint16_t kActionVendorMode = 0x0046;
constexpr std::uint16_t kActionDataTable = 0x000D;
constexpr std::uint16_t kActionInfoRecord = 0x0065;
constexpr std::uint16_t kPhysParamsTable = 1;

using KeySector = std::array<std::uint8_t, kSectorSize>;

// A zeroed key sector with its action at 0 and its first and second
// parameters at 2 and 4, little-endian.
KeySector MakeKeySector(std::uint16_t action, std::uint16_t first,
                        std::uint16_t second = 0);

// Reads `count` sectors of log `log` (SMART read log).
Taskfile ReadLog(AtaInterface& drive, std::uint8_t log, std::uint8_t count,
                 std::uint8_t* buffer, std::uint32_t size);

// Writes `count` sectors to log `log` (SMART write log).
Taskfile WriteLog(AtaInterface& drive, std::uint8_t log, std::uint8_t count,
                  const std::uint8_t* data, std::uint32_t size);

// Data table `table` of either level: key sector, announced length, data.
// The key sector's registers are judged ("key") before the data is read.
std::uint16_t GetDataTable(class VscInterface& channel, AtaInterface& drive,
                           std::uint16_t table, std::uint8_t* buffer,
                           std::uint32_t size);

}  // namespace tessel::vsc
