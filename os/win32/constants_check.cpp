// Every constant of os/constants.h against the SDK: a wrong value does not
// build.
// ntstatus.h defines the NTSTATUS values that winnt.h would define again.
#define WIN32_NO_STATUS
#include <windows.h>
#undef WIN32_NO_STATUS
#include <ntstatus.h>
#include <commctrl.h>
#include <setupapi.h>
#include <winternl.h>

#include "os/common_controls.h"
#include "os/constants.h"
#include "os/ole.h"
#include "os/process.h"
#include "os/sockets.h"
#include "os/registry.h"

#define VX_SAME(ours, sdk) static_assert((ours) == (sdk), #sdk)
// Sizes and offsets of the 32-bit product's own layouts. A 64-bit build of
// the tree serves only to run the Windows tests under wine64 on a kernel
// that cannot run 32-bit programs; it checks every value but these.
#if defined(_WIN64)
#define VX_SAME_LAYOUT(ours, sdk) static_assert(true)
#else
#define VX_SAME_LAYOUT(ours, sdk) VX_SAME(ours, sdk)
#endif

VX_SAME(os::kErrorSuccess, ERROR_SUCCESS);
VX_SAME(os::kErrorInvalidFunction, ERROR_INVALID_FUNCTION);
VX_SAME(os::kErrorNotSupported, ERROR_NOT_SUPPORTED);
VX_SAME(os::kErrorFileNotFound, ERROR_FILE_NOT_FOUND);
VX_SAME(os::kErrorPathNotFound, ERROR_PATH_NOT_FOUND);
VX_SAME(os::kErrorAccessDenied, ERROR_ACCESS_DENIED);
VX_SAME(os::kErrorInvalidHandle, ERROR_INVALID_HANDLE);
VX_SAME(os::kErrorNotEnoughMemory, ERROR_NOT_ENOUGH_MEMORY);
VX_SAME(os::kErrorFileExists, ERROR_FILE_EXISTS);
VX_SAME(os::kErrorInvalidParameter, ERROR_INVALID_PARAMETER);
VX_SAME(os::kErrorInsufficientBuffer, ERROR_INSUFFICIENT_BUFFER);
VX_SAME(os::kErrorSharingViolation, ERROR_SHARING_VIOLATION);
VX_SAME(os::kErrorNegativeSeek, ERROR_NEGATIVE_SEEK);
VX_SAME(os::kErrorAlreadyExists, ERROR_ALREADY_EXISTS);
VX_SAME(os::kErrorNoUnicodeTranslation, ERROR_NO_UNICODE_TRANSLATION);
VX_SAME(os::kErrorIoDevice, ERROR_IO_DEVICE);
VX_SAME(os::kErrorGenFailure, ERROR_GEN_FAILURE);
VX_SAME(os::kErrorCallNotImplemented, ERROR_CALL_NOT_IMPLEMENTED);
VX_SAME(os::kErrorInvalidData, ERROR_INVALID_DATA);
VX_SAME(os::kErrorFileTooLarge, ERROR_FILE_TOO_LARGE);

VX_SAME(os::kObjCaseInsensitive, OBJ_CASE_INSENSITIVE);
VX_SAME_LAYOUT(os::kObjectAttributesSize, sizeof(OBJECT_ATTRIBUTES));
// SYMBOLIC_LINK_QUERY (0x1) is in the driver kit's headers only, not in the
// SDK; opening a link with it is what the devices contract test does.
VX_SAME(os::kStatusSuccess, STATUS_SUCCESS);
VX_SAME(os::kStatusInvalidHandle, STATUS_INVALID_HANDLE);
VX_SAME(os::kStatusBufferTooSmall, STATUS_BUFFER_TOO_SMALL);
VX_SAME(os::kStatusObjectNameNotFound, STATUS_OBJECT_NAME_NOT_FOUND);

VX_SAME(os::kRegNone, REG_NONE);
VX_SAME(os::kRegOptionNonVolatile, REG_OPTION_NON_VOLATILE);
VX_SAME(os::kDigcfPresent, DIGCF_PRESENT);
VX_SAME(os::kSpdrpService, SPDRP_SERVICE);

VX_SAME(os::kGenericRead, GENERIC_READ);
VX_SAME(os::kGenericWrite, GENERIC_WRITE);
VX_SAME(os::kFileShareRead, FILE_SHARE_READ);
VX_SAME(os::kFileShareWrite, FILE_SHARE_WRITE);
VX_SAME(os::kCreateNew, CREATE_NEW);
VX_SAME(os::kCreateAlways, CREATE_ALWAYS);
VX_SAME(os::kOpenExisting, OPEN_EXISTING);
VX_SAME(os::kOpenAlways, OPEN_ALWAYS);
VX_SAME(os::kTruncateExisting, TRUNCATE_EXISTING);
VX_SAME(os::kFileAttributeNormal, FILE_ATTRIBUTE_NORMAL);
VX_SAME(os::kFileFlagWriteThrough, FILE_FLAG_WRITE_THROUGH);

VX_SAME(os::kFileBegin, FILE_BEGIN);
VX_SAME(os::kFileCurrent, FILE_CURRENT);
VX_SAME(os::kFileEnd, FILE_END);

VX_SAME(os::kErrorServiceAlreadyRunning, ERROR_SERVICE_ALREADY_RUNNING);
VX_SAME(os::kErrorServiceDoesNotExist, ERROR_SERVICE_DOES_NOT_EXIST);
VX_SAME(os::kErrorServiceNotActive, ERROR_SERVICE_NOT_ACTIVE);
VX_SAME(os::kErrorServiceMarkedForDelete, ERROR_SERVICE_MARKED_FOR_DELETE);
VX_SAME(os::kErrorServiceExists, ERROR_SERVICE_EXISTS);
VX_SAME(os::kErrorDuplicateServiceName, ERROR_DUPLICATE_SERVICE_NAME);
VX_SAME(os::kScManagerCreateService, SC_MANAGER_CREATE_SERVICE);
VX_SAME(os::kServiceAllAccess, SERVICE_ALL_ACCESS);
VX_SAME(os::kServiceKernelDriver, SERVICE_KERNEL_DRIVER);
VX_SAME(os::kServiceDemandStart, SERVICE_DEMAND_START);
VX_SAME(os::kServiceErrorNormal, SERVICE_ERROR_NORMAL);
VX_SAME(os::kServiceControlStop, SERVICE_CONTROL_STOP);
VX_SAME(os::kServiceStopped, SERVICE_STOPPED);
VX_SAME(os::kServiceRunning, SERVICE_RUNNING);
VX_SAME(os::kErrorProcNotFound, ERROR_PROC_NOT_FOUND);
VX_SAME(os::kErrorModNotFound, ERROR_MOD_NOT_FOUND);
VX_SAME(os::kErrorResourceNameNotFound, ERROR_RESOURCE_NAME_NOT_FOUND);
VX_SAME(os::kDuplicateSameAccess, DUPLICATE_SAME_ACCESS);
VX_SAME(os::kOsVersionInfoSize, sizeof(OSVERSIONINFOW));
VX_SAME(os::kCpAcp, CP_ACP);
VX_SAME(os::kCpThreadAcp, CP_THREAD_ACP);
VX_SAME(os::kMaxPath, MAX_PATH);

static_assert(sizeof(os::DWORD) == sizeof(::DWORD));
static_assert(sizeof(os::BOOL) == sizeof(::BOOL));
static_assert(sizeof(os::HANDLE) == sizeof(::HANDLE));

// The request blocks the transports build, in their 32-bit layouts.
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstddef>

#include "os/ioctl.h"

VX_SAME(os::kIoctlAtaPassThrough, IOCTL_ATA_PASS_THROUGH);
VX_SAME(os::kIoctlScsiPassThrough, IOCTL_SCSI_PASS_THROUGH);

namespace apt = os::ata_pass_through;
VX_SAME_LAYOUT(apt::kSize, sizeof(ATA_PASS_THROUGH_EX));
VX_SAME_LAYOUT(apt::kLength, offsetof(ATA_PASS_THROUGH_EX, Length));
VX_SAME_LAYOUT(apt::kAtaFlags, offsetof(ATA_PASS_THROUGH_EX, AtaFlags));
VX_SAME_LAYOUT(apt::kPathId, offsetof(ATA_PASS_THROUGH_EX, PathId));
VX_SAME_LAYOUT(apt::kTargetId, offsetof(ATA_PASS_THROUGH_EX, TargetId));
VX_SAME_LAYOUT(apt::kLun, offsetof(ATA_PASS_THROUGH_EX, Lun));
VX_SAME_LAYOUT(apt::kDataTransferLength, offsetof(ATA_PASS_THROUGH_EX, DataTransferLength));
VX_SAME_LAYOUT(apt::kTimeOutValue, offsetof(ATA_PASS_THROUGH_EX, TimeOutValue));
VX_SAME_LAYOUT(apt::kDataBufferOffset, offsetof(ATA_PASS_THROUGH_EX, DataBufferOffset));
VX_SAME_LAYOUT(apt::kPreviousTaskFile, offsetof(ATA_PASS_THROUGH_EX, PreviousTaskFile));
VX_SAME_LAYOUT(apt::kCurrentTaskFile, offsetof(ATA_PASS_THROUGH_EX, CurrentTaskFile));
VX_SAME(apt::kFlagDrdyRequired, ATA_FLAGS_DRDY_REQUIRED);
VX_SAME(apt::kFlagDataIn, ATA_FLAGS_DATA_IN);
VX_SAME(apt::kFlagDataOut, ATA_FLAGS_DATA_OUT);
VX_SAME(apt::kFlag48BitCommand, ATA_FLAGS_48BIT_COMMAND);

namespace spt = os::scsi_pass_through;
VX_SAME_LAYOUT(spt::kSize, sizeof(SCSI_PASS_THROUGH));
VX_SAME_LAYOUT(spt::kLength, offsetof(SCSI_PASS_THROUGH, Length));
VX_SAME_LAYOUT(spt::kScsiStatus, offsetof(SCSI_PASS_THROUGH, ScsiStatus));
VX_SAME_LAYOUT(spt::kPathId, offsetof(SCSI_PASS_THROUGH, PathId));
VX_SAME_LAYOUT(spt::kTargetId, offsetof(SCSI_PASS_THROUGH, TargetId));
VX_SAME_LAYOUT(spt::kLun, offsetof(SCSI_PASS_THROUGH, Lun));
VX_SAME_LAYOUT(spt::kCdbLength, offsetof(SCSI_PASS_THROUGH, CdbLength));
VX_SAME_LAYOUT(spt::kSenseInfoLength, offsetof(SCSI_PASS_THROUGH, SenseInfoLength));
VX_SAME_LAYOUT(spt::kDataIn, offsetof(SCSI_PASS_THROUGH, DataIn));
VX_SAME_LAYOUT(spt::kDataTransferLength, offsetof(SCSI_PASS_THROUGH, DataTransferLength));
VX_SAME_LAYOUT(spt::kTimeOutValue, offsetof(SCSI_PASS_THROUGH, TimeOutValue));
VX_SAME_LAYOUT(spt::kDataBufferOffset, offsetof(SCSI_PASS_THROUGH, DataBufferOffset));
VX_SAME_LAYOUT(spt::kSenseInfoOffset, offsetof(SCSI_PASS_THROUGH, SenseInfoOffset));
VX_SAME_LAYOUT(spt::kCdb, offsetof(SCSI_PASS_THROUGH, Cdb));
VX_SAME(spt::kDataOut, SCSI_IOCTL_DATA_OUT);
VX_SAME(spt::kDataInDirection, SCSI_IOCTL_DATA_IN);
VX_SAME(spt::kDataUnspecified, SCSI_IOCTL_DATA_UNSPECIFIED);

VX_SAME(os::kIoctlStorageQueryProperty, IOCTL_STORAGE_QUERY_PROPERTY);
VX_SAME(os::kIoctlUpdateFirmware,
        CTL_CODE(0x0FCD, 0x805, METHOD_OUT_DIRECT, FILE_READ_ACCESS | FILE_WRITE_ACCESS));
VX_SAME(os::storage_query::kQuerySize, sizeof(STORAGE_PROPERTY_QUERY));
VX_SAME(os::storage_query::kBusTypeOffset, offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType));
VX_SAME(os::storage_query::kStorageDeviceProperty, StorageDeviceProperty);
VX_SAME(os::storage_query::kPropertyStandardQuery, PropertyStandardQuery);
VX_SAME(os::kIoctlStorageFirmwareGetInfo, IOCTL_STORAGE_FIRMWARE_GET_INFO);
VX_SAME(os::kIoctlStorageFirmwareDownload, IOCTL_STORAGE_FIRMWARE_DOWNLOAD);
VX_SAME(os::kIoctlStorageFirmwareActivate, IOCTL_STORAGE_FIRMWARE_ACTIVATE);

// The SDK here has the firmware interface's codes but not its blocks: they
// are declared as Windows documents them, and our offsets must be what
// this compiler lays out for them (the 64-bit fields aligned to 8, on both
// widths).
namespace documented {
struct FirmwareInfoQuery {
  DWORD Version;
  DWORD Size;
  DWORD Flags;
  DWORD Reserved;
};
struct FirmwareSlotInfo {
  DWORD Version;
  DWORD Size;
  UCHAR SlotNumber;
  UCHAR ReadOnly : 1;
  UCHAR Reserved0 : 7;
  UCHAR Reserved1[6];
  UCHAR Revision[16];
};
struct FirmwareInfo {
  DWORD Version;
  DWORD Size;
  UCHAR SupportUpgrade : 1;
  UCHAR Reserved0 : 7;
  UCHAR SlotCount;
  UCHAR ActiveSlot;
  UCHAR PendingActivateSlot;
  BOOLEAN FirmwareShared;
  UCHAR Reserved[3];
  DWORD ImagePayloadAlignment;
  DWORD ImagePayloadMaxSize;
  FirmwareSlotInfo Slot[1];
};
struct FirmwareDownload {
  DWORD Version;
  DWORD Size;
  DWORD Flags;
  UCHAR Slot;
  UCHAR Reserved[3];
  DWORDLONG Offset;
  DWORDLONG BufferSize;
  UCHAR ImageBuffer[1];
};
struct FirmwareActivate {
  DWORD Version;
  DWORD Size;
  DWORD Flags;
  UCHAR Slot;
  UCHAR Reserved0[3];
};
}  // namespace documented

namespace sf = os::storage_firmware;
VX_SAME(sf::kQuerySize, sizeof(documented::FirmwareInfoQuery));
VX_SAME(sf::kFlags, offsetof(documented::FirmwareInfoQuery, Flags));
VX_SAME(sf::kSlotSize, sizeof(documented::FirmwareSlotInfo));
VX_SAME(sf::kSlotNumber, offsetof(documented::FirmwareSlotInfo, SlotNumber));
VX_SAME(sf::kSlotRevision, offsetof(documented::FirmwareSlotInfo, Revision));
VX_SAME(sf::kInfoVersion, sizeof(documented::FirmwareInfo));
VX_SAME(sf::kInfoSlotCount, offsetof(documented::FirmwareInfo, SlotCount));
VX_SAME(sf::kInfoActiveSlot, offsetof(documented::FirmwareInfo, ActiveSlot));
VX_SAME(sf::kInfoPendingActivateSlot, offsetof(documented::FirmwareInfo, PendingActivateSlot));
VX_SAME(sf::kInfoFirmwareShared, offsetof(documented::FirmwareInfo, FirmwareShared));
VX_SAME(sf::kInfoImagePayloadAlignment, offsetof(documented::FirmwareInfo, ImagePayloadAlignment));
VX_SAME(sf::kInfoImagePayloadMaxSize, offsetof(documented::FirmwareInfo, ImagePayloadMaxSize));
VX_SAME(sf::kInfoSlots, offsetof(documented::FirmwareInfo, Slot));
VX_SAME(sf::kDownloadSize, sizeof(documented::FirmwareDownload));
VX_SAME(sf::kDownloadSlot, offsetof(documented::FirmwareDownload, Slot));
VX_SAME(sf::kDownloadOffset, offsetof(documented::FirmwareDownload, Offset));
VX_SAME(sf::kDownloadBufferSize, offsetof(documented::FirmwareDownload, BufferSize));
VX_SAME(sf::kDownloadImage, offsetof(documented::FirmwareDownload, ImageBuffer));
VX_SAME(sf::kActivateSize, sizeof(documented::FirmwareActivate));
VX_SAME(sf::kActivateSlot, offsetof(documented::FirmwareActivate, Slot));

VX_SAME(os::kBusTypeScsi, BusTypeScsi);
VX_SAME(os::kBusTypeAta, BusTypeAta);
VX_SAME(os::kBusTypeUsb, BusTypeUsb);
VX_SAME(os::kBusTypeRaid, BusTypeRAID);
VX_SAME(os::kBusTypeSata, BusTypeSata);

VX_SAME(os::kRegSz, REG_SZ);
VX_SAME(os::kRegBinary, REG_BINARY);
VX_SAME(os::kRegDword, REG_DWORD);
VX_SAME(os::kRegMultiSz, REG_MULTI_SZ);
VX_SAME(os::kKeyRead, KEY_READ);
VX_SAME(os::kKeyWrite, KEY_WRITE);
VX_SAME(os::kKeyAllAccess, KEY_ALL_ACCESS);
VX_SAME(os::kRegCreatedNewKey, REG_CREATED_NEW_KEY);
VX_SAME(os::kRegOpenedExistingKey, REG_OPENED_EXISTING_KEY);
VX_SAME(os::kErrorMoreData, ERROR_MORE_DATA);
VX_SAME(os::kErrorNoMoreItems, ERROR_NO_MORE_ITEMS);
VX_SAME(os::kTokenAdjustPrivileges, TOKEN_ADJUST_PRIVILEGES);
VX_SAME(os::kTokenQuery, TOKEN_QUERY);
VX_SAME(os::kSePrivilegeEnabled, SE_PRIVILEGE_ENABLED);
VX_SAME(os::kErrorNotAllAssigned, ERROR_NOT_ALL_ASSIGNED);
VX_SAME(os::kEwxReboot, EWX_REBOOT);
VX_SAME(os::kEwxForce, EWX_FORCE);
VX_SAME(os::kShutdownReasonPlannedHardwareDisk,
        SHTDN_REASON_FLAG_PLANNED | SHTDN_REASON_MAJOR_HARDWARE | SHTDN_REASON_MINOR_DISK);
VX_SAME(os::kWmUser, WM_USER);
VX_SAME(os::kMbOk, MB_OK);
VX_SAME(os::kInitCommonControlsExSize, sizeof(INITCOMMONCONTROLSEX));
VX_SAME(os::kIccWin95Classes, ICC_WIN95_CLASSES);
VX_SAME(os::kSOk, S_OK);
VX_SAME(os::kSFalse, S_FALSE);
VX_SAME(os::kWinsockVersion11, MAKEWORD(1, 1));
VX_SAME(os::kMbYesNo, MB_YESNO);
VX_SAME(os::kMbIconError, MB_ICONERROR);
VX_SAME(os::kMbIconExclamation, MB_ICONEXCLAMATION);
VX_SAME(os::kMbIconInformation, MB_ICONINFORMATION);
VX_SAME(os::kIdOk, IDOK);
VX_SAME(os::kIdYes, IDYES);
VX_SAME(os::kIdNo, IDNO);
VX_SAME_LAYOUT(os::kStartupInfoSize, sizeof(STARTUPINFOW));
VX_SAME(os::kStartfUseShowWindow, STARTF_USESHOWWINDOW);
VX_SAME(os::kSwHide, SW_HIDE);
VX_SAME(os::kSwShowNormal, SW_SHOWNORMAL);
VX_SAME(os::kInfinite, INFINITE);
