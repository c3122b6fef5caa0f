// One physical drive as the wizard sees it: the record the drive selection
// page shows, the update reads and the log describes. Built by the
// enumeration, initialised by its constructor (NT device path, transport),
// read once by GetDriveInformation, unchanged afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/error_info.h"
#include "ata/ata_interface.h"
#include "ata/vx_device_info.h"
#include "os/devices.h"

namespace drives {

class CDrive {
 public:
  using PhyEntityBlock = std::array<std::uint8_t, 64>;

  // Works on a duplicate of `handle`, which stays the caller's. Failures
  // are in Status.
  CDrive(os::DeviceHandle handle, std::u16string drivePath, std::uint32_t busType);
  ~CDrive();
  CDrive(const CDrive&) = delete;
  CDrive& operator=(const CDrive&) = delete;

  base::ErrorInfoPtr GetDriveInformation();
  base::ErrorInfoPtr FillVxData();
  void Qualify();
  std::u16string FormatDriveInfo() const;

  // The 8-bit identity fields in UTF-16, up to their first zero byte.
  std::u16string ModelText() const;
  std::u16string SerialNumberText() const;
  std::u16string CurrentFirmwareText() const;

  // The firmware revision the drive reports now (trimmed), asked through
  // its transport as the enumeration asks; empty when it does not answer.
  std::u16string ReadFirmwareRevision();

  // The record, in declaration order.
  bool Updatable = false;
  std::u16string UpdateMessage;
  std::u16string DrivePath;
  std::u16string DriveDevicePath;
  std::array<char, 41> Model{};
  std::array<char, 9> CurrentFirmware{};
  std::array<char, 21> SerialNumber{};
  std::uint64_t WWN = 0;
  std::u16string AvailableFirmwareRevision;
  std::u16string AvailableFirmwareFilePath;
  bool DownloadMicrocodeSupported = false;
  bool SegmentedTransferSupported = false;
  std::uint32_t TransferMin = 0;
  std::uint32_t TransferMax = 0;
  PhyEntityBlock PhyEntity{};
  std::uint32_t BusType = 0;
  os::ProcAddress NtOpenSymbolicLinkObject = nullptr;
  os::ProcAddress NtQuerySymbolicLinkObject = nullptr;
  os::ProcAddress NtClose = nullptr;
  base::ErrorInfoPtr Status;
  bool IsVeltraxDrive = false;
  // What the drive reported after its update; empty until it was asked.
  std::u16string FirmwareRevisionAfterUpdate;
  std::unique_ptr<tessel::AtaInterface> AtaTransport;
  std::unique_ptr<tessel::VxDeviceInfo> VendorInfo;
  std::string ModelNumberTrimmed;
  std::string ModelSuffixHead;
  std::string ModelSuffixMiddle;
  std::string ModelSuffixTail;
  std::string FirmwareRevisionSet;
  std::string RevisionBase;
  std::string RevisionSuffix;
  std::int32_t FamilyId = 0;
  std::int32_t ConfigId = 0;

 private:
  void Init(os::DeviceHandle handle, std::u16string drivePath, std::uint32_t busType,
            const PhyEntityBlock& phyEntity);
  void ResolveNtRoutines();
  void ResolveDevicePath();
  void ChooseTransport(os::DeviceHandle handle);
  std::unique_ptr<tessel::VxDeviceInfo> CreateVendorInfo();
  // Logs a failed attempt to leave vendor mode.
  tessel::DisableFailureReport DisableFailureLog() const;
  void CutModelParts();
};

using CDrivePtr = std::shared_ptr<CDrive>;
using DriveList = std::vector<CDrivePtr>;

}  // namespace drives
