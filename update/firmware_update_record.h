// The record the firmware driver takes with IOCTL_UPDATE_FIRMWARE: a
// header describing the target drive, then the image. Laid out byte by
// byte, little-endian, zero-filled:
//
//   offset  size  field
//   0       4     busType
//   4       4     transferMax
//   8       21    serialNumber, 8-bit, NUL-terminated
//   29      9     firmwareRevision, 8-bit, NUL-terminated
//   38      512   drivePath, UTF-16, at most 255 units and a NUL
//   550     512   driveDevicePath, UTF-16, at most 255 units and a NUL
//   1062    264   driverStatus: its first 256 bytes are the call's output,
//                 its first 32-bit word bytesDone
//   1326    64    phyEntity
//   1390    4     imageLength
//   1394    1     reserved
//   1395    n     image
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "os/ioctl.h"

namespace update {

namespace record {
constexpr std::uint32_t kBusType = 0;
constexpr std::uint32_t kTransferMax = 4;
constexpr std::uint32_t kSerialNumber = 8;
constexpr std::uint32_t kSerialNumberSize = 21;
constexpr std::uint32_t kFirmwareRevision = 29;
constexpr std::uint32_t kFirmwareRevisionSize = 9;
constexpr std::uint32_t kDrivePath = 38;
constexpr std::uint32_t kDriveDevicePath = 550;
constexpr std::uint32_t kPathSize = 512;
constexpr std::uint32_t kDriverStatus = 1062;
constexpr std::uint32_t kDriverStatusOutput = 256;
constexpr std::uint32_t kPhyEntity = 1326;
constexpr std::uint32_t kImageLength = 1390;
constexpr std::uint32_t kHeaderSize = 1395;
}  // namespace record

constexpr std::uint32_t IOCTL_UPDATE_FIRMWARE = os::kIoctlUpdateFirmware;

class FirmwareUpdateRecord {
 public:
  // Null when `imageLength` + the header does not fit in 32 bits or the
  // block cannot be allocated.
  static std::unique_ptr<FirmwareUpdateRecord> Create(std::uint32_t imageLength);

  void SetBusType(std::uint32_t busType);
  void SetTransferMax(std::uint32_t transferMax);
  // Cut to fit their fields, which always keep a NUL.
  void SetSerialNumber(const std::string& serial);
  void SetFirmwareRevision(const std::string& revision);
  void SetDrivePath(const std::u16string& path);
  void SetDriveDevicePath(const std::u16string& path);
  void SetPhyEntity(const std::array<std::uint8_t, 64>& phyEntity);

  std::uint8_t* image() { return bytes_.get() + record::kHeaderSize; }
  std::uint32_t imageLength() const { return imageLength_; }
  std::uint8_t* data() { return bytes_.get(); }
  std::uint32_t size() const { return record::kHeaderSize + imageLength_; }

  // The driver writes it while the call runs; read without a lock.
  std::uint32_t BytesDone() const;
  // For a channel that moves the image itself.
  void SetBytesDone(std::uint32_t done);

 private:
  FirmwareUpdateRecord(std::unique_ptr<std::uint8_t[]> bytes, std::uint32_t imageLength);
  void Put32(std::uint32_t offset, std::uint32_t value);
  void PutText(std::uint32_t offset, std::uint32_t size, const std::string& text);
  void PutPath(std::uint32_t offset, const std::u16string& path);

  std::unique_ptr<std::uint8_t[]> bytes_;
  std::uint32_t imageLength_;
};

}  // namespace update
