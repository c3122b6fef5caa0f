#include "update/firmware_update_record.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/little_endian.h"

namespace update {

std::unique_ptr<FirmwareUpdateRecord> FirmwareUpdateRecord::Create(
    std::uint32_t imageLength) {
  if (imageLength > UINT32_MAX - record::kHeaderSize) return nullptr;
  std::unique_ptr<std::uint8_t[]> bytes(
      new (std::nothrow) std::uint8_t[record::kHeaderSize + std::size_t{imageLength}]());
  if (bytes == nullptr) return nullptr;
  return std::unique_ptr<FirmwareUpdateRecord>(
      new (std::nothrow) FirmwareUpdateRecord(std::move(bytes), imageLength));
}

FirmwareUpdateRecord::FirmwareUpdateRecord(std::unique_ptr<std::uint8_t[]> bytes,
                                           std::uint32_t imageLength)
    : bytes_(std::move(bytes)), imageLength_(imageLength) {
  Put32(record::kImageLength, imageLength);
}

void FirmwareUpdateRecord::Put32(std::uint32_t offset, std::uint32_t value) {
  base::StoreLittleEndian(bytes_.get(), record::kHeaderSize, offset, value, 4);
}

void FirmwareUpdateRecord::PutText(std::uint32_t offset, std::uint32_t size,
                                   const std::string& text) {
  std::memset(bytes_.get() + offset, 0, size);
  std::memcpy(bytes_.get() + offset, text.data(), std::min<std::size_t>(text.size(), size - 1));
}

void FirmwareUpdateRecord::PutPath(std::uint32_t offset, const std::u16string& path) {
  std::memset(bytes_.get() + offset, 0, record::kPathSize);
  const std::size_t units = std::min<std::size_t>(path.size(), record::kPathSize / 2 - 1);
  for (std::size_t i = 0; i < units; ++i) {
    bytes_[offset + 2 * i] = path[i] & 0xFF;
    bytes_[offset + 2 * i + 1] = path[i] >> 8;
  }
}

void FirmwareUpdateRecord::SetBusType(std::uint32_t busType) { Put32(record::kBusType, busType); }

void FirmwareUpdateRecord::SetTransferMax(std::uint32_t transferMax) {
  Put32(record::kTransferMax, transferMax);
}

void FirmwareUpdateRecord::SetSerialNumber(const std::string& serial) {
  PutText(record::kSerialNumber, record::kSerialNumberSize, serial);
}

void FirmwareUpdateRecord::SetFirmwareRevision(const std::string& revision) {
  PutText(record::kFirmwareRevision, record::kFirmwareRevisionSize, revision);
}

void FirmwareUpdateRecord::SetDrivePath(const std::u16string& path) {
  PutPath(record::kDrivePath, path);
}

void FirmwareUpdateRecord::SetDriveDevicePath(const std::u16string& path) {
  PutPath(record::kDriveDevicePath, path);
}

void FirmwareUpdateRecord::SetPhyEntity(const std::array<std::uint8_t, 64>& phyEntity) {
  std::memcpy(bytes_.get() + record::kPhyEntity, phyEntity.data(), phyEntity.size());
}

void FirmwareUpdateRecord::SetBytesDone(std::uint32_t done) {
  std::memcpy(bytes_.get() + record::kDriverStatus, &done, sizeof done);
}

std::uint32_t FirmwareUpdateRecord::BytesDone() const {
  std::uint32_t done = 0;
  std::memcpy(&done, bytes_.get() + record::kDriverStatus, sizeof done);
  return done;
}

}  // namespace update
