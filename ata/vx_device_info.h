// A Veltrax drive's own description: the IDENTIFY-based answers of
// AtaDeviceInfo plus the family, configuration and firmware revision set
// from its physical-parameters block and, at channel level 5, from
// information records read live. The operations VxDeviceInfo adds follow
// AtaDeviceInfo's in the virtual table, in the order declared.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "ata/device_info.h"
#include "ata/phys_param_map.h"
#include "ata/vendor_mode.h"

namespace tessel {

class VxDeviceInfo : public AtaDeviceInfo {
 public:
  virtual std::string GetPhysText1();
  virtual std::string GetPhysText2();
  virtual std::string GetPhysText3();
  virtual std::uint16_t GetConfigId();
  // A base part, a blank, a suffix part.
  virtual std::string GetFirmwareRevisionSet() = 0;
  virtual std::string GetPhysText4();
  virtual std::string GetPhysText5();
  virtual std::string GetPhysText6();
  virtual std::string GetPhysText7();

 protected:
  VxDeviceInfo(AtaInterface& drive, const VscPhysParam1v2Map& physParams)
      : AtaDeviceInfo(drive), physParams_(physParams) {}

  // Byte 26, or the word at 364 when byte 26 is 0xFE.
  std::uint16_t PhysFamilyId() const;
  const VscPhysParam1v2Map& physParams() const { return physParams_; }

 private:
  VscPhysParam1v2Map physParams_;
};

// Channel level 4: everything from the stored block.
class VxVscImpl4DeviceInfo final : public VxDeviceInfo {
 public:
  VxVscImpl4DeviceInfo(AtaInterface& drive, VscPhysParam1v2Map physParams)
      : VxDeviceInfo(drive, physParams) {}

  std::uint16_t GetFamilyId() override;
  std::string GetFirmwareRevisionSet() override;
  ~VxVscImpl4DeviceInfo() override = default;
};

class VxVscImpl5DeviceInfo : public VxDeviceInfo {
 protected:
  using VxDeviceInfo::VxDeviceInfo;
};

// Channel level 5: the revision set comes from two information records,
// each a complete vendor-specific exchange with the drive.
class VxVscImpl5AtaDeviceInfo final : public VxVscImpl5DeviceInfo {
 public:
  // `report` hears of every failed attempt to leave vendor mode.
  VxVscImpl5AtaDeviceInfo(AtaInterface& drive, VscPhysParam1v2Map physParams,
                          DisableFailureReport report = {})
      : VxVscImpl5DeviceInfo(drive, physParams),
        transport_(drive),
        report_(std::move(report)) {}

  std::uint16_t GetFamilyId() override;
  std::string GetFirmwareRevisionSet() override;
  ~VxVscImpl5AtaDeviceInfo() override = default;

  // Reads information record `selector` in one vendor-mode exchange.
  std::string ReadInfoRecord(std::uint16_t selector);

 private:
  AtaInterface& transport_;
  DisableFailureReport report_;
};

// The value of the first tag-14 entry of an information record, empty
// when there is none. Every byte is read inside `size`.
std::string ParseInfoRecord(const std::uint8_t* block, std::uint32_t size);

}  // namespace tessel
