#include "ata/sat_pass_through_drive.h"

#include <cstring>
#include <new>
#include <vector>

#include "ata/exception.h"
#include "ata/fields.h"
#include "os/constants.h"
#include "os/ioctl.h"
#include "os/system.h"

namespace tessel {
namespace {

namespace spt = os::scsi_pass_through;

// Request block: SCSI_PASS_THROUGH (32-bit layout), the data area at 44.
//   0   16  Length = 44
//   2   8   ScsiStatus (returned)
//   3   24  PathId, TargetId, Lun = 0
//   6   8   CdbLength = 16
//   7   8   SenseInfoLength = 0
//   8   8   DataIn: 1 in, 0 out, 2 unspecified
//   12  32  DataTransferLength: size for data protocols, else 0
//   16  32  TimeOutValue, seconds
//   20  32  DataBufferOffset: 44 for data protocols, else 0
//   24  32  SenseInfoOffset = 0
//   28  16  Cdb
//   44  size data area
//
// Cdb, ATA PASS-THROUGH (16):
//   0 0x85    1 protocol * 2 + extend   2 direction and length fields
//   3 features 15:8   4 features 7:0   5 count 15:8   6 count 7:0
//   7 LBA 31:24   8 LBA 7:0   9 LBA 39:32   10 LBA 15:8
//   11 LBA 47:40   12 LBA 23:16   13 device   14 command   15 control 0
constexpr std::uint8_t kAtaPassThrough16 = 0x85;
constexpr std::uint8_t kCdbLength = 16;
constexpr std::uint8_t kDataInLength = 0x0E;   // T_DIR 1, BYT_BLOK 1, T_LENGTH 2
constexpr std::uint8_t kDataOutLength = 0x06;  // T_DIR 0, BYT_BLOK 1, T_LENGTH 2
constexpr std::uint8_t kCheckCondition = 0x02;

// Return response information: SAT protocol 15, extend 1.
constexpr std::uint8_t kReturnResponseInfo = 0x1F;
constexpr std::uint32_t kDescriptorLength = 22;
constexpr std::uint32_t kRegisterRequestSize = spt::kSize + kDescriptorLength;
constexpr std::uint8_t kDescriptorAtStart = 0x09;
constexpr std::uint8_t kDescriptorAfterHeader = 0x48;
constexpr std::uint32_t kHeaderLength = 8;

struct ProtocolRow {
  std::uint8_t byte1;
  std::uint8_t byte2;
  std::uint8_t dataIn;  // the DataIn field; also the direction of the data
};

ProtocolRow RowOf(AtaProtocol protocol) {
  switch (static_cast<std::uint32_t>(protocol)) {
    case 0: return {0x06, 0x00, spt::kDataUnspecified};
    case 1: return {0x07, 0x00, spt::kDataUnspecified};
    case 2: case 6: return {0x08, kDataInLength, spt::kDataInDirection};
    case 3: case 7: return {0x0A, kDataOutLength, spt::kDataOut};
    case 4: case 8: return {0x09, kDataInLength, spt::kDataInDirection};
    case 5: case 9: return {0x0B, kDataOutLength, spt::kDataOut};
    case 10: return {0x0C, kDataInLength, spt::kDataInDirection};
    case 11: return {0x0C, kDataOutLength, spt::kDataOut};
    case 12: return {0x0D, kDataInLength, spt::kDataInDirection};
    case 13: return {0x0D, kDataOutLength, spt::kDataOut};
    case 14: return {0x00, kDataInLength, spt::kDataInDirection};
    case 15: return {0x00, kDataInLength, spt::kDataOut};
    case 49: return {0x10, kDataOutLength, spt::kDataUnspecified};
    default: return {0x00, 0x00, spt::kDataUnspecified};
  }
}

std::vector<std::uint8_t> Header(std::uint32_t dataSize, std::uint8_t dataIn,
                                 std::int32_t timeoutMs) {
  std::vector<std::uint8_t> block(spt::kSize + dataSize, 0);
  PutWord(block, spt::kLength, spt::kSize);
  block[spt::kCdbLength] = kCdbLength;
  block[spt::kDataIn] = dataIn;
  PutDword(block, spt::kTimeOutValue, static_cast<std::uint32_t>(timeoutMs / 1000));
  if (dataSize != 0 || dataIn != spt::kDataUnspecified) {
    PutDword(block, spt::kDataTransferLength, dataSize);
    PutDword(block, spt::kDataBufferOffset, spt::kSize);
  }
  return block;
}

void WriteCdb(std::vector<std::uint8_t>& block, const ProtocolRow& row,
              const Taskfile& t) {
  std::uint8_t* cdb = block.data() + spt::kCdb;
  cdb[0] = kAtaPassThrough16;
  cdb[1] = row.byte1;
  cdb[2] = row.byte2;
  cdb[3] = t.features >> 8;
  cdb[4] = t.features & 0xFF;
  cdb[5] = t.count >> 8;
  cdb[6] = t.count & 0xFF;
  cdb[7] = LbaByte(t.lba, 3);
  cdb[8] = LbaByte(t.lba, 0);
  cdb[9] = LbaByte(t.lba, 4);
  cdb[10] = LbaByte(t.lba, 1);
  cdb[11] = LbaByte(t.lba, 5);
  cdb[12] = LbaByte(t.lba, 2);
  cdb[13] = t.device;
  cdb[14] = t.command;
}

}  // namespace

void SatDrivePassThrough::ExecuteCommand(AtaProtocol protocol,
                                         Taskfile& taskfile,
                                         std::uint8_t* buffer,
                                         std::uint32_t size) {
  const ProtocolRow row = RowOf(protocol);
  const bool in = row.dataIn == spt::kDataInDirection;
  const bool out = row.dataIn == spt::kDataOut;
  std::vector<std::uint8_t> block;
  try {
    if (size > UINT32_MAX - spt::kSize) throw std::bad_alloc();
    block = Header(in || out ? size : 0, row.dataIn, GetTimeout());
    block.resize(spt::kSize + size, 0);
  } catch (const std::bad_alloc&) {
    throw Exception(ErrorOutOfMemory,
                    "could not allocate memory for scsi passthrough");
  }
  if (out && size != 0) std::memcpy(block.data() + spt::kSize, buffer, size);
  WriteCdb(block, row, taskfile);

  const os::DWORD inLength = spt::kSize + (out ? size : 0);
  const os::DWORD outLength = spt::kSize + (in ? size : 0);
  os::DWORD returned = 0;
  if (!os::Sys().devices.DeviceIoControl(
          deviceHandle_.Get(), os::kIoctlScsiPassThrough, block.data(),
          inLength, block.data(), outLength, &returned, nullptr)) {
    // An I/O error still carries the device's reply: SAT reports a failed
    // ATA command that way.
    const os::DWORD error = os::Sys().errors.GetLastError();
    if (error != os::kErrorIoDevice) {
      throw Exception(ErrorSystem, "Call to DeviceIoControl() failed",
                      static_cast<std::int32_t>(error));
    }
  }
  if (in && size != 0) std::memcpy(buffer, block.data() + spt::kSize, size);
  const std::uint8_t status = block[spt::kScsiStatus];
  if (status != 0 && (status & kCheckCondition) == 0) {
    throw Exception(ErrorSystem, "SatDrive::ExecuteCommand(): bad SCSI status",
                    status);
  }
  ReadTaskfile(taskfile);
  SetLastTaskfile(taskfile);
}

// The ATA status return descriptor, relative to its start:
//   3 error   5 count 7:0   6 LBA 31:24   7 LBA 7:0   8 LBA 39:32
//   9 LBA 15:8   10 LBA 47:40   11 LBA 23:16   12 device   13 status
void SatDrivePassThrough::ReadTaskfile(Taskfile& taskfile) {
  std::vector<std::uint8_t> block =
      Header(kDescriptorLength, spt::kDataInDirection, GetTimeout());
  block[spt::kCdb] = kAtaPassThrough16;
  block[spt::kCdb + 1] = kReturnResponseInfo;
  os::DWORD returned = 0;
  if (!os::Sys().devices.DeviceIoControl(
          deviceHandle_.Get(), os::kIoctlScsiPassThrough, block.data(),
          kRegisterRequestSize, block.data(), kRegisterRequestSize, &returned,
          nullptr)) {
    throw Exception(ErrorSystem, "ReadTaskfile: call to DeviceIoControl() failed",
                    static_cast<std::int32_t>(os::Sys().errors.GetLastError()));
  }
  const std::uint8_t status = block[spt::kScsiStatus];
  if (status != 0) {
    throw Exception(ErrorSystem, "ReadTaskfile returned a bad SCSI status", status);
  }
  const std::uint8_t first = block[spt::kSize];
  std::uint32_t at = spt::kSize;
  if (first == kDescriptorAfterHeader) {
    at += kHeaderLength;
  } else if (first != kDescriptorAtStart) {
    throw Exception(ErrorSystem,
                    "ReadTaskfile SCSI system returned an unsupported sense code",
                    first);
  }
  const std::uint8_t* d = block.data() + at;
  taskfile.outError = static_cast<std::uint16_t>((taskfile.outError & 0xFF00) | d[3]);
  taskfile.outCount = static_cast<std::uint16_t>((taskfile.outCount & 0xFF00) | d[5]);
  taskfile.outLbaLow = static_cast<std::uint16_t>(d[6] << 8 | d[7]);
  taskfile.outLbaMid = static_cast<std::uint16_t>(d[8] << 8 | d[9]);
  taskfile.outLbaHigh = static_cast<std::uint16_t>(d[10] << 8 | d[11]);
  taskfile.outDevice = d[12];
  taskfile.outStatus = d[13];
}

}  // namespace tessel
