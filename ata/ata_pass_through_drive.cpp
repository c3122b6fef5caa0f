#include "ata/ata_pass_through_drive.h"

#include <cstring>
#include <new>
#include <vector>

#include "ata/exception.h"
#include "ata/fields.h"
#include "os/ioctl.h"
#include "os/system.h"

namespace tessel {
namespace {

namespace apt = os::ata_pass_through;

// Request block: ATA_PASS_THROUGH_EX (32-bit layout), the data area at 40.
//   0   16  Length = 40
//   2   16  AtaFlags: DRDY_REQUIRED | protocol flags
//   4   8   PathId, TargetId, Lun, reserved = 0
//   8   32  DataTransferLength = size
//   12  32  TimeOutValue, seconds
//   16  32  reserved
//   20  32  DataBufferOffset = 40
//   24  8   PreviousTaskFile (48-bit only): features, count, LBA 31:24,
//           LBA 39:32, LBA 47:40
//   32  8   CurrentTaskFile: features, count, LBA 7:0, 15:8, 23:16,
//           device, command
//   40  size data area
struct ProtocolRow {
  std::uint16_t flags;
  bool ext;
  bool dataIn;
  bool dataOut;
};

bool RowOf(AtaProtocol protocol, ProtocolRow& row) {
  switch (protocol) {
    case AtaProtocol::NonData:
      row = {0, false, false, false};
      return true;
    case AtaProtocol::NonDataExt:
      row = {apt::kFlag48BitCommand, true, false, false};
      return true;
    case AtaProtocol::PioIn:
      row = {apt::kFlagDataIn, false, true, false};
      return true;
    case AtaProtocol::PioOut:
      row = {apt::kFlagDataOut, false, false, true};
      return true;
    case AtaProtocol::PioInExt:
      row = {apt::kFlag48BitCommand | apt::kFlagDataIn, true, true, false};
      return true;
    case AtaProtocol::PioOutExt:
      row = {apt::kFlag48BitCommand | apt::kFlagDataOut, true, false, true};
      return true;
    default:
      return false;
  }
}

void WriteTaskfile(std::vector<std::uint8_t>& block, const Taskfile& t,
                   bool ext) {
  std::uint8_t* current = block.data() + apt::kCurrentTaskFile;
  current[0] = t.features & 0xFF;
  current[1] = t.count & 0xFF;
  current[2] = LbaByte(t.lba, 0);
  current[3] = LbaByte(t.lba, 1);
  current[4] = LbaByte(t.lba, 2);
  current[5] = t.device;
  current[6] = t.command;
  if (!ext) return;
  std::uint8_t* previous = block.data() + apt::kPreviousTaskFile;
  previous[0] = t.features >> 8;
  previous[1] = t.count >> 8;
  previous[2] = LbaByte(t.lba, 3);
  previous[3] = LbaByte(t.lba, 4);
  previous[4] = LbaByte(t.lba, 5);
}

// One returned register pair: the current byte, and the previous byte for
// a 48-bit command; a 28-bit command leaves the high byte as it was.
std::uint16_t RegisterPair(std::uint16_t old, const std::uint8_t* block,
                           int index, bool ext) {
  const std::uint16_t high =
      ext ? block[apt::kPreviousTaskFile + index] << 8 : old & 0xFF00;
  return static_cast<std::uint16_t>(high | block[apt::kCurrentTaskFile + index]);
}

void ReadResult(const std::vector<std::uint8_t>& block, Taskfile& t,
                bool ext) {
  const std::uint8_t* b = block.data();
  t.outError = RegisterPair(t.outError, b, 0, ext);
  t.outCount = RegisterPair(t.outCount, b, 1, ext);
  t.outLbaLow = RegisterPair(t.outLbaLow, b, 2, ext);
  t.outLbaMid = RegisterPair(t.outLbaMid, b, 3, ext);
  t.outLbaHigh = RegisterPair(t.outLbaHigh, b, 4, ext);
  t.outDevice = b[apt::kCurrentTaskFile + 5];
  t.outStatus = b[apt::kCurrentTaskFile + 6];
}

}  // namespace

void AtaDriveWinPassThrough::ExecuteCommand(AtaProtocol protocol,
                                            Taskfile& taskfile,
                                            std::uint8_t* buffer,
                                            std::uint32_t size) {
  std::vector<std::uint8_t> block;
  try {
    if (size > UINT32_MAX - apt::kSize) throw std::bad_alloc();
    block.assign(apt::kSize + size, 0);
  } catch (const std::bad_alloc&) {
    throw Exception(ErrorOutOfMemory,
                    "could not allocate memory for ata passthrough");
  }
  PutWord(block, apt::kLength, apt::kSize);
  PutDword(block, apt::kDataTransferLength, size);
  PutDword(block, apt::kTimeOutValue, static_cast<std::uint32_t>(GetTimeout() / 1000));
  PutDword(block, apt::kDataBufferOffset, apt::kSize);

  ProtocolRow row;
  if (!RowOf(protocol, row)) {
    throw Exception(ErrorProtocolNotSupported,
                    "protocol is not supported by the windows ata pass-through "
                    "interface");
  }
  PutWord(block, apt::kAtaFlags, apt::kFlagDrdyRequired | row.flags);
  const os::DWORD inLength = apt::kSize + (row.dataOut ? size : 0);
  const os::DWORD outLength = apt::kSize + (row.dataIn ? size : 0);
  if (row.dataOut && size != 0) {
    std::memcpy(block.data() + apt::kSize, buffer, size);
  }
  WriteTaskfile(block, taskfile, row.ext);

  os::DWORD returned = 0;
  const os::BOOL ok = os::Sys().devices.DeviceIoControl(
      deviceHandle_.Get(), os::kIoctlAtaPassThrough, block.data(), inLength,
      block.data(), outLength, &returned, nullptr);
  const os::DWORD error = ok ? 0 : os::Sys().errors.GetLastError();

  // Data and registers are taken back whatever the call's result.
  if (row.dataIn && size != 0) {
    std::memcpy(buffer, block.data() + apt::kSize, size);
  }
  ReadResult(block, taskfile, row.ext);
  if (!ok) {
    throw Exception(ErrorSystem, "DeviceIoControl returned FALSE",
                    static_cast<std::int32_t>(error));
  }
  SetLastTaskfile(taskfile);
}

}  // namespace tessel
