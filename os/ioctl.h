// The I/O control codes and the 32-bit layouts of the request blocks the
// system builds byte by byte. The Win32 binding checks codes, sizes and
// offsets against the SDK (os/win32/constants_check.cpp).
#pragma once

#include "os/types.h"

namespace os {

constexpr DWORD kIoctlAtaPassThrough = 0x0004D02C;
constexpr DWORD kIoctlStorageQueryProperty = 0x002D1400;
// The firmware update driver's own code: device type 0x0FCD, function
// 0x805, METHOD_OUT_DIRECT, read and write access.
constexpr DWORD kIoctlUpdateFirmware = 0x0FCDE016;
constexpr DWORD kIoctlScsiPassThrough = 0x0004D004;

// ATA_PASS_THROUGH_EX, 32-bit layout.
namespace ata_pass_through {
constexpr DWORD kSize = 40;
constexpr DWORD kLength = 0;               // 16 bits
constexpr DWORD kAtaFlags = 2;             // 16 bits
constexpr DWORD kPathId = 4;
constexpr DWORD kTargetId = 5;
constexpr DWORD kLun = 6;
constexpr DWORD kDataTransferLength = 8;   // 32 bits
constexpr DWORD kTimeOutValue = 12;        // 32 bits, seconds
constexpr DWORD kDataBufferOffset = 20;    // 32 bits
constexpr DWORD kPreviousTaskFile = 24;    // 8 bytes
constexpr DWORD kCurrentTaskFile = 32;     // 8 bytes

constexpr DWORD kFlagDrdyRequired = 0x0001;
constexpr DWORD kFlagDataIn = 0x0002;
constexpr DWORD kFlagDataOut = 0x0004;
constexpr DWORD kFlag48BitCommand = 0x0008;
}  // namespace ata_pass_through

// SCSI_PASS_THROUGH, 32-bit layout.
namespace scsi_pass_through {
constexpr DWORD kSize = 44;
constexpr DWORD kLength = 0;               // 16 bits
constexpr DWORD kScsiStatus = 2;
constexpr DWORD kPathId = 3;
constexpr DWORD kTargetId = 4;
constexpr DWORD kLun = 5;
constexpr DWORD kCdbLength = 6;
constexpr DWORD kSenseInfoLength = 7;
constexpr DWORD kDataIn = 8;
constexpr DWORD kDataTransferLength = 12;  // 32 bits
constexpr DWORD kTimeOutValue = 16;        // 32 bits, seconds
constexpr DWORD kDataBufferOffset = 20;    // 32 bits
constexpr DWORD kSenseInfoOffset = 24;     // 32 bits
constexpr DWORD kCdb = 28;                 // 16 bytes

constexpr unsigned char kDataOut = 0;          // SCSI_IOCTL_DATA_OUT
constexpr unsigned char kDataInDirection = 1;  // SCSI_IOCTL_DATA_IN
constexpr unsigned char kDataUnspecified = 2;  // SCSI_IOCTL_DATA_UNSPECIFIED
}  // namespace scsi_pass_through

// STORAGE_PROPERTY_QUERY in, STORAGE_DEVICE_DESCRIPTOR out.
namespace storage_query {
constexpr DWORD kQuerySize = 12;
constexpr DWORD kDescriptorBufferSize = 1064;
constexpr DWORD kBusTypeOffset = 28;
constexpr DWORD kStorageDeviceProperty = 0;
constexpr DWORD kPropertyStandardQuery = 0;
}  // namespace storage_query

// Windows' own storage firmware interface (Windows 10 1703 and later, on
// Storport stacks), on a \\.\PhysicalDriveN handle opened for reading and
// writing.
constexpr DWORD kIoctlStorageFirmwareGetInfo = 0x002D1C00;
constexpr DWORD kIoctlStorageFirmwareDownload = 0x002DDC04;
constexpr DWORD kIoctlStorageFirmwareActivate = 0x002DDC08;

// STORAGE_HW_FIRMWARE_INFO_QUERY, _INFO with its _SLOT_INFO entries,
// _DOWNLOAD and _ACTIVATE. Every block starts with its Version (the
// structure's size) and Size (the whole block's), 32 bits each.
namespace storage_firmware {
constexpr DWORD kVersion = 0;
constexpr DWORD kSize = 4;
constexpr DWORD kFlags = 8;

constexpr DWORD kQuerySize = 16;

constexpr DWORD kInfoHeadSize = 24;
constexpr DWORD kInfoSupportUpgrade = 8;  // bit 0
constexpr DWORD kInfoSlotCount = 9;
constexpr DWORD kInfoActiveSlot = 10;
constexpr DWORD kInfoPendingActivateSlot = 11;
constexpr DWORD kInfoFirmwareShared = 12;
constexpr DWORD kInfoImagePayloadAlignment = 16;  // 32 bits
constexpr DWORD kInfoImagePayloadMaxSize = 20;    // 32 bits
constexpr DWORD kInfoSlots = 24;
constexpr unsigned char kNoPendingSlot = 0xFF;

constexpr DWORD kSlotSize = 32;
constexpr DWORD kSlotNumber = 8;
constexpr DWORD kSlotReadOnly = 9;  // bit 0
constexpr DWORD kSlotRevision = 16;
constexpr DWORD kRevisionLength = 16;

// The info block's Version: its size with one slot entry.
constexpr DWORD kInfoVersion = kInfoHeadSize + kSlotSize;

constexpr DWORD kDownloadSize = 40;
constexpr DWORD kDownloadSlot = 12;
constexpr DWORD kDownloadOffset = 16;      // 64 bits
constexpr DWORD kDownloadBufferSize = 24;  // 64 bits
constexpr DWORD kDownloadImage = 32;

constexpr DWORD kActivateSize = 16;
constexpr DWORD kActivateSlot = 12;

constexpr DWORD kFlagController = 0x1;
constexpr DWORD kFlagLastSegment = 0x2;
constexpr DWORD kFlagFirstSegment = 0x4;
}  // namespace storage_firmware

// STORAGE_BUS_TYPE values the system keeps.
constexpr DWORD kBusTypeScsi = 1;
constexpr DWORD kBusTypeAta = 3;
constexpr DWORD kBusTypeUsb = 7;
constexpr DWORD kBusTypeRaid = 8;
constexpr DWORD kBusTypeSata = 11;

}  // namespace os
