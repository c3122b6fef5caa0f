// What a drive's IDENTIFY data says about it. AtaDeviceInfo decodes the
// transport's cached IDENTIFY block afresh on every call and caches
// nothing; the vendor classes derive from it. The order of the operations
// is the order of the virtual table.
#pragma once

#include <cstdint>
#include <string>

#include "ata/ata_interface.h"

namespace tessel {

class DeviceInfo {
 public:
  virtual ~DeviceInfo() = 0;
};

class AtaDeviceInfo : public DeviceInfo {
 public:
  // `drive` must outlive the object.
  explicit AtaDeviceInfo(AtaInterface& drive) : drive_(drive) {}

  // Throws AtaException named `operation` when the drive's last command
  // failed.
  virtual void CheckLastCommand(const std::string& operation);
  virtual std::string GetFirmwareRevision();
  virtual std::string GetModelNumber();
  virtual std::uint32_t GetLogicalSectorSize();
  virtual std::string GetSerialNumber();
  virtual std::uint64_t GetUserAddressableSectors();
  virtual std::uint64_t GetWorldWideName();
  virtual std::uint16_t GetFamilyId();
  virtual std::string GetCapacityText();
  virtual std::string GetFirmwareRevisionTrimmed();
  virtual std::string GetModelNumberTrimmed();
  virtual std::string GetSerialNumberTrimmed();
  virtual std::uint64_t GetCapacity();
  virtual bool IsVeltraxDevice();
  ~AtaDeviceInfo() override = default;

 protected:
  AtaInterface& drive() { return drive_; }

 private:
  AtaInterface& drive_;
};

// The capacity in three significant digits and a decimal unit letter:
// "0.00M", "1.00G", "500G", "16.0T".
std::string CapacityText(std::uint64_t bytes);

// Trailing, then leading blanks (0x20) removed; nothing else counts.
std::string TrimBlanks(const std::string& text);

}  // namespace tessel
