#include "drives/enumerate.h"

#include <new>
#include <optional>
#include <vector>

#include "base/format.h"
#include "base/log.h"
#include "os/constants.h"
#include "os/ioctl.h"
#include "os/scoped_handle.h"
#include "os/system.h"

namespace drives {

namespace {

constexpr int kDrivesProbed = 16;

// RAID-attached drives are recorded as ATA; other buses are not kept.
std::optional<std::uint32_t> RecordedBusType(std::uint32_t busType) {
  switch (busType) {
    case os::kBusTypeScsi:
    case os::kBusTypeAta:
    case os::kBusTypeUsb:
    case os::kBusTypeSata:
      return busType;
    case os::kBusTypeRaid:
      return os::kBusTypeAta;
    default:
      return std::nullopt;
  }
}

// Phase 1 for one number: the drive, or none when it is skipped.
CDrivePtr ProbeDrive(int number) {
  auto& devices = os::Sys().devices;
  const std::u16string path = base::Format(u"\\\\.\\PhysicalDrive%d", number);
  os::UniqueDeviceHandle handle(devices.CreateFileW(
      path.c_str(), os::kGenericRead | os::kGenericWrite,
      os::kFileShareRead | os::kFileShareWrite, nullptr, os::kOpenExisting, 0, nullptr));
  if (!handle.IsValid()) return nullptr;

  // STORAGE_PROPERTY_QUERY: StorageDeviceProperty, PropertyStandardQuery.
  std::uint8_t query[os::storage_query::kQuerySize] = {};
  std::vector<std::uint8_t> descriptor;
  try {
    descriptor.assign(os::storage_query::kDescriptorBufferSize, 0);
  } catch (const std::bad_alloc&) {
    if (base::IsLogOpen()) base::WriteLogLine(u"malloc failed for STORAGE_DEVICE_DESCRIPTOR");
    return nullptr;
  }
  os::DWORD returned = 0;
  if (!devices.DeviceIoControl(handle.Get(), os::kIoctlStorageQueryProperty, query,
                               sizeof query, descriptor.data(),
                               static_cast<os::DWORD>(descriptor.size()), &returned,
                               nullptr)) {
    const os::DWORD error = os::Sys().errors.GetLastError();
    if (base::IsLogOpen()) {
      base::WriteLogLine(u"IOCTL_STORAGE_QUERY_PROPERTY failed, drivePath = %s, error = 0x%x",
                        path, error);
    }
    return nullptr;
  }
  const std::uint32_t busType =
      descriptor[28] | descriptor[29] << 8 | descriptor[30] << 16 |
      static_cast<std::uint32_t>(descriptor[31]) << 24;
  const auto recorded = RecordedBusType(busType);
  if (!recorded) return nullptr;
  return std::make_shared<CDrive>(handle.Get(), path, *recorded);
}

}  // namespace

DriveList EnumerateDrives() {
  DriveList working;
  for (int number = 0; number < kDrivesProbed; ++number) {
    if (CDrivePtr drive = ProbeDrive(number)) working.push_back(std::move(drive));
  }
  DriveList result;
  for (const CDrivePtr& drive : working) {
    const base::ErrorInfoPtr status = drive->GetDriveInformation();
    if (base::IsSuccess(status)) {
      result.push_back(drive);
    } else if (base::IsLogOpen()) {
      base::WriteLogLine(u"Identify failed.\r\n%s\r\n%s\r\n", drive->FormatDriveInfo(),
                        status ? base::FormatErrorInfo(*status) : std::u16string());
    }
  }
  return result;
}

}  // namespace drives
