#include "drives/drive.h"

#include "base/format.h"
#include "base/log.h"
#include "base/settings.h"
#include "base/string_table.h"
#include "base/text.h"
#include "ata/ata_pass_through_drive.h"
#include "ata/device_info.h"
#include "ata/exception.h"
#include "ata/identify_map.h"
#include "ata/sat_pass_through_drive.h"
#include "os/scoped_handle.h"
#include "os/constants.h"
#include "os/ioctl.h"
#include "os/system.h"

namespace drives {

namespace {

constexpr char16_t kFile[] = u"Drive";

// Where CDrive::Init and GetDriveInformation record their failures. An entry site is
// what the record holds while its step succeeds.
namespace site {
constexpr std::int32_t kInitEntry = 98;
constexpr std::int32_t kNtdllMissing = 134;
constexpr std::int32_t kOpenLinkRoutineMissing = 108;
constexpr std::int32_t kQueryLinkRoutineMissing = 118;
constexpr std::int32_t kCloseRoutineMissing = 128;
constexpr std::int32_t kLinkOpenFailed = 183;
constexpr std::int32_t kLinkQueryFailed = 175;
constexpr std::int32_t kDuplicateFailed = 268;
constexpr std::int32_t kNoTransportAnswers = 263;
constexpr std::int32_t kGetDriveInformationEntry = 316;
constexpr std::int32_t kNoTransportKept = 320;
constexpr std::int32_t kIdentifyReadFailed = 322;
}  // namespace site
constexpr char16_t kInit[] = u"CDrive::Init";
constexpr char16_t kGetDriveInformation[] = u"CDrive::GetDriveInformation";

// The drive's own codes.
constexpr std::uint32_t kNoTransport = 0xFFFFF003u;
constexpr std::uint32_t kNoVendorInfo = 0xFFFFF007u;

// Reading the cached IDENTIFY block threw.

constexpr std::uint32_t kSegmentCap = 0x10000;
constexpr std::uint32_t kBlock = 512;

// "\\." of a Win32 device name becomes the NT name's "\??".
std::u16string NtNameOf(std::u16string path) {
  const std::u16string from = u"\\\\.";
  const std::u16string to = u"\\??";
  for (std::size_t at = path.find(from); at != std::u16string::npos;
       at = path.find(from, at + to.size())) {
    path.replace(at, from.size(), to);
  }
  return path;
}

std::u16string Widened(const char* text) { return base::Widen(text); }

const char16_t* YesNo(bool value) { return value ? u"true" : u"false"; }

// False only on a system of major version 5 or lower (XP, Server 2003);
// a failing query counts as newer.
bool IsNewerThanXp() {
  os::OsVersionInfo info{};
  info.dwOSVersionInfoSize = os::kOsVersionInfoSize;
  if (!os::Sys().version.GetVersionExW(&info)) return true;
  return info.dwMajorVersion > 5;
}

template <std::size_t N>
void CopyAtaString(const tessel::AtaIdentifyDeviceMap& map, std::uint32_t start,
                   std::array<char, N>& field) {
  map.ReadAtaString(start, (N - 1) / 2, field.data(), N);
}

bool StartsWithVx(const std::u16string& text) { return text.rfind(u"VX", 0) == 0; }

}  // namespace

CDrive::CDrive(os::DeviceHandle handle, std::u16string drivePath, std::uint32_t busType) {
  Init(handle, std::move(drivePath), busType, PhyEntity);
}

// The transport goes first: it closes the drive handle.
CDrive::~CDrive() {
  AtaTransport.reset();
  VendorInfo.reset();
}

std::u16string CDrive::ModelText() const { return Widened(Model.data()); }
std::u16string CDrive::SerialNumberText() const { return Widened(SerialNumber.data()); }
std::u16string CDrive::CurrentFirmwareText() const {
  return Widened(CurrentFirmware.data());
}

std::u16string CDrive::ReadFirmwareRevision() {
  if (AtaTransport == nullptr) return {};
  try {
    AtaTransport->RefreshIdentify();
    return base::Widen(tessel::AtaDeviceInfo(*AtaTransport).GetFirmwareRevisionTrimmed());
  } catch (const tessel::Exception&) {
    return {};
  }
}

void CDrive::Init(os::DeviceHandle handle, std::u16string drivePath, std::uint32_t busType,
                  const PhyEntityBlock& phyEntity) {
  DrivePath = std::move(drivePath);
  BusType = busType;
  PhyEntity = phyEntity;
  AvailableFirmwareRevision = u"N/A";
  base::LoadAppString(base::IDS_NO_UPDATES, UpdateMessage);
  Status = base::MakeErrorInfo(kFile, site::kInitEntry, kInit);
  ResolveNtRoutines();
  if (base::IsSuccess(Status)) ResolveDevicePath();
  if (base::IsSuccess(Status)) ChooseTransport(handle);
}

void CDrive::ResolveNtRoutines() {
  auto& modules = os::Sys().modules;
  auto fail = [this](std::int32_t site) {
    Status->Fail(os::Sys().errors.GetLastError(), kFile, site, kInit);
  };
  const os::HMODULE ntdll = modules.GetModuleHandleW(u"ntdll");
  if (ntdll == nullptr) {
    fail(site::kNtdllMissing);
    return;
  }
  NtOpenSymbolicLinkObject = modules.GetProcAddress(ntdll, "NtOpenSymbolicLinkObject");
  if (NtOpenSymbolicLinkObject == nullptr) fail(site::kOpenLinkRoutineMissing);
  if (base::IsSuccess(Status)) {
    NtQuerySymbolicLinkObject = modules.GetProcAddress(ntdll, "NtQuerySymbolicLinkObject");
  }
  if (NtQuerySymbolicLinkObject == nullptr) fail(site::kQueryLinkRoutineMissing);
  if (base::IsSuccess(Status)) NtClose = modules.GetProcAddress(ntdll, "NtClose");
  if (NtClose == nullptr) fail(site::kCloseRoutineMissing);
}

void CDrive::ResolveDevicePath() {
  auto& devices = os::Sys().devices;
  std::u16string name = NtNameOf(DrivePath);
  os::UnicodeString objectName{};
  objectName.Length = static_cast<std::uint16_t>(name.size() * 2);
  objectName.MaximumLength = static_cast<std::uint16_t>(objectName.Length + 2);
  objectName.Buffer = name.data();
  os::ObjectAttributes attributes{};
  attributes.Length = os::kObjectAttributesSize;
  attributes.ObjectName = &objectName;
  attributes.Attributes = os::kObjCaseInsensitive;

  os::UniqueSymbolicLink link(NtClose);
  const os::NTSTATUS opened = devices.NtOpenSymbolicLinkObject(
      NtOpenSymbolicLinkObject, link.Put(), os::kSymbolicLinkQuery, &attributes);
  if (opened < 0) {
    Status->Fail(static_cast<std::uint32_t>(opened), kFile, site::kLinkOpenFailed, kInit);
    return;
  }
  std::u16string target(1024, u'\0');
  os::UnicodeString targetName{};
  targetName.MaximumLength = 1022;
  targetName.Buffer = target.data();
  std::uint32_t returned = 0;
  const os::NTSTATUS queried =
      devices.NtQuerySymbolicLinkObject(NtQuerySymbolicLinkObject, link.Get(), &targetName,
                                        &returned);
  if (queried < 0) {
    Status->Fail(static_cast<std::uint32_t>(queried), kFile, site::kLinkQueryFailed, kInit);
  } else {
    DriveDevicePath = target.c_str();
  }
}

// ATA and SATA drives try the ATA pass-through and fall back to SAT on the
// same handle; USB drives go to SAT at once; anything else gets none.
void CDrive::ChooseTransport(os::DeviceHandle handle) {
  auto& process = os::Sys().process;
  os::UniqueDeviceHandle copy;
  os::Sys().devices.DuplicateHandle(process.GetCurrentProcess(), handle,
                                    process.GetCurrentProcess(), copy.Put(), 0, os::kFalse,
                                    os::kDuplicateSameAccess);
  if (!copy.IsValid()) {
    Status->Fail(os::Sys().errors.GetLastError(), kFile, site::kDuplicateFailed, kInit);
    return;
  }
  std::uint8_t scratch[kBlock];
  bool trySat = BusType == os::kBusTypeUsb;
  if (BusType == os::kBusTypeSata || BusType == os::kBusTypeAta) {
    auto ata = std::make_unique<tessel::AtaDriveWinPassThrough>(copy.Release());
    try {
      ata->IdentifyDevice(scratch, kBlock);
      AtaTransport = std::move(ata);
    } catch (const tessel::Exception&) {
      copy.Reset(ata->ReleaseHandle());
      trySat = true;
    }
  }
  if (trySat) {
    auto sat = std::make_unique<tessel::SatDrivePassThrough>(copy.Release());
    try {
      sat->IdentifyDevice(scratch, kBlock);
      AtaTransport = std::move(sat);
    } catch (const tessel::Exception&) {
      copy.Reset(sat->ReleaseHandle());
    }
  }
  // A copy no transport took is closed with `copy`.
  if (AtaTransport == nullptr) Status->Fail(kNoTransport, kFile, site::kNoTransportAnswers, kInit);
}

base::ErrorInfoPtr CDrive::GetDriveInformation() {
  if (!base::IsSuccess(Status)) return Status;
  auto result = base::MakeErrorInfo(kFile, site::kGetDriveInformationEntry, kGetDriveInformation);
  if (AtaTransport == nullptr) {
    result->Fail(kNoVendorInfo, kFile, site::kNoTransportKept, kGetDriveInformation);
    return result;
  }
  // The cached block is read afresh here (the probe used a scratch
  // buffer): a transport failure now drops the drive like a failed Init.
  const std::uint8_t* identify = nullptr;
  try {
    identify = AtaTransport->GetIdentifyData();
  } catch (const tessel::Exception&) {
    result->Fail(kNoTransport, kFile, site::kIdentifyReadFailed, kGetDriveInformation);
    return result;
  }
  const tessel::AtaIdentifyDeviceMap map(identify);
  DownloadMicrocodeSupported = map.DownloadMicrocodeSupported();
  CopyAtaString(map, tessel::identify::kModelOffset, Model);
  CopyAtaString(map, tessel::identify::kFirmwareOffset, CurrentFirmware);
  CopyAtaString(map, tessel::identify::kSerialOffset, SerialNumber);
  // Fields end at their first zero byte, as the copies above leave them.
  WWN = map.WorldWideName();
  IsVeltraxDrive = map.HasVeltraxWorldWideName() || StartsWithVx(ModelText()) ||
                   StartsWithVx(SerialNumberText());

  if (map.SegmentedDownloadSupported()) {
    SegmentedTransferSupported = true;
    std::uint32_t min = map.DownloadMinimumBlocks();
    if (min == 0 || min == 0xFFFF) min = 1;
    std::uint32_t max = map.DownloadMaximumBlocks();
    if (max == 0 || max == 0xFFFF) max = min;
    TransferMin = min * kBlock;
    TransferMax = std::min(max * kBlock, kSegmentCap);
    if (!IsNewerThanXp()) {
      if (TransferMin != kBlock) {
        if (base::IsLogOpen()) base::WriteLogLine(u"TransferMin 0x%x", TransferMin);
        base::LoadAppString(base::IDS_TRANSFER_RATE, UpdateMessage);
        return result;
      }
      TransferMax = kBlock;
    }
  }
  const bool securitySupported = map.SecuritySupported();
  const bool securityEnabled = map.SecurityEnabled();
  if (securitySupported && securityEnabled) {
    if (base::IsLogOpen()) {
      base::WriteLogLine(u"SecuritySupported 0x%d, SecurityEnabled = %d",
                        static_cast<int>(securitySupported),
                        static_cast<int>(securityEnabled));
    }
    base::LoadAppString(base::IDS_SECURITY_ENABLED, UpdateMessage);
    return result;
  }
  if (IsVeltraxDrive) {
    auto vendor = FillVxData();
    if (!base::IsSuccess(vendor)) return vendor;
    Qualify();
    return result;
  }
  UpdateMessage = u"This is not a Veltrax drive";
  return result;
}

std::u16string CDrive::FormatDriveInfo() const {
  return base::Format(
      u"\r\nDrive Info :\r\nDrivePath = %s\r\nBusType   = 0x%x\r\nModelNumber   = %s, "
      u"%s, %s, %s\r\nSerialNumber   = %s\r\nWWN   = %I64X\r\nCurrent Firmware   = "
      u"%s\r\nAvailable Firmware   = %s\r\nSegmented Transfer Supported   = "
      u"%s\r\nTransfer Max   = 0x%x\r\nTransfer Min   = 0x%x\r\nDownload Microcode "
      u"Supported   = %s\r\nUpdatable   = %s\r\nDriveDevicePath   = %s",
      DrivePath, BusType, ModelText(), base::Widen(ModelSuffixHead),
      base::Widen(ModelSuffixMiddle), base::Widen(ModelSuffixTail), SerialNumberText(), WWN,
      CurrentFirmwareText(), AvailableFirmwareRevision, YesNo(SegmentedTransferSupported),
      TransferMax, TransferMin, YesNo(DownloadMicrocodeSupported), YesNo(Updatable),
      DriveDevicePath);
}

}  // namespace drives
