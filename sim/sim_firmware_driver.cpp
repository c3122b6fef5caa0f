#include "sim/sim_firmware_driver.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "os/constants.h"
#include "os/ioctl.h"
#include "sim/ata_device.h"

namespace sim {
namespace {

// FirmwareUpdateRecord, little-endian:
//   0 busType   4 transferMax   8 serialNumber[21]   29 firmwareRevision[9]
//   38 drivePath (UTF-16, 256 units)   550 driveDevicePath (256 units)
//   1062 driverStatus[264] (bytesDone first)   1326 phyEntity[64]
//   1390 imageLength   1394 reserved   1395 image
constexpr std::size_t kTransferMax = 4;
constexpr std::size_t kSerial = 8;
constexpr std::size_t kFirmware = 29;
constexpr std::size_t kDrivePath = 38;
constexpr std::size_t kPathUnits = 256;
constexpr std::size_t kDevicePath = 550;
constexpr std::size_t kImageLength = 1390;
constexpr std::size_t kHeader = 1395;
constexpr std::size_t kStatusSize = 256;
constexpr std::uint32_t kBlock = 512;
constexpr std::uint8_t kDownloadMicrocode = 0x92;
// The count register a drive answers a segment with: more expected (1),
// or the whole image received and activated (2).
constexpr std::uint16_t kDownloadComplete = 2;

std::uint32_t Get32(const std::uint8_t* b) {
  return b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t{b[3]} << 24;
}

bool Terminated(const std::uint8_t* field, std::size_t size) {
  return std::find(field, field + size, 0) != field + size;
}

// The UTF-16 path up to its NUL, or none when the field has no NUL.
bool ReadPath(const std::uint8_t* field, std::u16string& path) {
  for (std::size_t i = 0; i < kPathUnits; ++i) {
    const char16_t unit = static_cast<char16_t>(field[2 * i] | field[2 * i + 1] << 8);
    if (unit == u'\0') return true;
    path += unit;
  }
  return false;
}

}  // namespace

os::BOOL SimFirmwareDriver::Control(os::DWORD code, const void* in,
                                    os::DWORD inSize, void* out,
                                    os::DWORD outSize, os::DWORD& returned,
                                    os::DWORD& error) {
  const auto start = std::chrono::steady_clock::now();
  const os::BOOL result = Transfer(code, in, inSize, out, outSize, returned, error);
  busy_ += std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now() - start).count();
  return result;
}

os::BOOL SimFirmwareDriver::Transfer(os::DWORD code, const void* in,
                                     os::DWORD inSize, void* out,
                                     os::DWORD outSize, os::DWORD& returned,
                                     os::DWORD& error) {
  returned = 0;
  auto refuse = [&error](os::DWORD e) {
    error = e;
    return os::kFalse;
  };
  if (code != os::kIoctlUpdateFirmware) return refuse(os::kErrorInvalidFunction);
  const auto* record = static_cast<const std::uint8_t*>(in);
  if (record == nullptr || inSize < kHeader || out == nullptr || outSize < kStatusSize) {
    return refuse(os::kErrorInvalidParameter);
  }
  const std::uint32_t imageLength = Get32(record + kImageLength);
  const std::uint32_t transferMax = Get32(record + kTransferMax);
  std::u16string drivePath;
  std::u16string devicePath;
  if (imageLength == 0 || imageLength > inSize - kHeader ||
      !Terminated(record + kSerial, 21) || !Terminated(record + kFirmware, 9) ||
      !ReadPath(record + kDrivePath, drivePath) ||
      !ReadPath(record + kDevicePath, devicePath) ||
      (transferMax != 0 && (transferMax < kBlock || transferMax % kBlock != 0))) {
    return refuse(os::kErrorInvalidParameter);
  }
  AtaDevice* drive = lookup_(drivePath);
  if (drive == nullptr) return refuse(os::kErrorFileNotFound);

  // Whole blocks: a last partial block goes out padded with zeros.
  std::vector<std::uint8_t> image(record + kHeader, record + kHeader + imageLength);
  image.resize((image.size() + kBlock - 1) / kBlock * kBlock, 0);
  auto* bytesDone = static_cast<std::uint8_t*>(out);
  auto report = [bytesDone](std::uint32_t done) {
    std::memcpy(bytesDone, &done, sizeof done);
  };
  report(0);

  // transferMax 0: the drive has no segmented download, and the whole image
  // goes in one command (mode 7).
  const bool segmented = transferMax != 0;
  const std::size_t segment = segmented ? transferMax : image.size();
  std::uint16_t answer = 0;
  for (std::size_t offset = 0; offset < image.size(); offset += segment) {
    const std::size_t size = std::min(segment, image.size() - offset);
    const std::uint32_t blocks = static_cast<std::uint32_t>(size / kBlock);
    const std::uint32_t offsetBlocks = static_cast<std::uint32_t>(offset / kBlock);
    AtaCommand c;
    c.command = kDownloadMicrocode;
    c.features = segmented ? 0x03 : 0x07;
    c.count = blocks & 0xFF;
    c.lba = (blocks >> 8 & 0xFF) | std::uint64_t{offsetBlocks & 0xFFFF} << 8;
    std::vector<std::uint8_t> data(image.begin() + offset, image.begin() + offset + size);
    const InjectedFault injected = faults_.Next(CommandFaults::kDriver);
    if (injected == InjectedFault::IoctlFailure || injected == InjectedFault::BadScsiStatus) {
      return refuse(os::kErrorGenFailure);
    }
    const AtaResult r = injected == InjectedFault::AtaError ? Aborted() : drive->Execute(c, data);
    if (r.ioctlError) return refuse(*r.ioctlError);
    if ((r.status & 0x89) != 0 || r.error != 0) return refuse(os::kErrorIoDevice);
    answer = r.count;
    report(static_cast<std::uint32_t>(std::min<std::size_t>(offset + size, imageLength)));
    if (segmentDelayMs_ != 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(segmentDelayMs_));
    }
  }
  // A drive that still expects segments after the last one did not get a
  // whole image: nothing was activated, and that is no success.
  if (answer != kDownloadComplete) return refuse(os::kErrorIoDevice);
  returned = kStatusSize;
  return os::kTrue;
}

}  // namespace sim
