#include "update/storage_firmware_channel.h"

#include <algorithm>
#include <memory>
#include <new>

#include "base/format.h"
#include "base/little_endian.h"
#include "base/text.h"
#include "drives/drive.h"
#include "os/constants.h"
#include "os/ioctl.h"
#include "os/system.h"
#include "update/firmware_update_record.h"

namespace update {

namespace {

namespace sf = os::storage_firmware;

constexpr char16_t kFile[] = u"StorageFirmwareChannel";
constexpr char16_t kOpen[] = u"StorageFirmwareChannel::Open";
constexpr char16_t kTransfer[] = u"StorageFirmwareChannel::Transfer";

// Where the Windows road records its failures.
namespace site {
constexpr std::int32_t kOpenEntry = 10;
constexpr std::int32_t kDeviceOpenFailed = 11;
constexpr std::int32_t kGetInfoFailed = 12;
constexpr std::int32_t kAnswerMalformed = 13;
constexpr std::int32_t kNotUpgradable = 14;
constexpr std::int32_t kNoUsableSegment = 15;
constexpr std::int32_t kNoWritableSlot = 16;
constexpr std::int32_t kTransferEntry = 30;
constexpr std::int32_t kNotOpened = 31;
constexpr std::int32_t kImageNotAligned = 32;
constexpr std::int32_t kNoMemory = 33;
constexpr std::int32_t kDownloadFailed = 34;
constexpr std::int32_t kActivateFailed = 35;
}  // namespace site

// Room for eight slots: ATA drives have one, NVMe drives up to seven.
constexpr std::uint32_t kAnswerSize = sf::kInfoHeadSize + 8 * sf::kSlotSize;

os::DWORD LastError() { return os::Sys().errors.GetLastError(); }

std::uint32_t Load(const std::uint8_t* block, std::uint32_t size, std::uint32_t offset,
                   std::uint32_t width) {
  return static_cast<std::uint32_t>(base::LoadLittleEndian(block, size, offset, width).value_or(0));
}

// Printable up to the first NUL; anything else shows as '?'.
std::string RevisionText(const std::uint8_t* field) {
  std::string text;
  for (std::uint32_t i = 0; i < sf::kRevisionLength && field[i] != 0; ++i) {
    text += field[i] >= 0x20 && field[i] < 0x7F ? static_cast<char>(field[i]) : '?';
  }
  return text;
}

void Store(std::uint8_t* block, std::uint32_t size, std::uint32_t offset, std::uint64_t value,
           std::uint32_t width) {
  base::StoreLittleEndian(block, size, offset, value, width);
}

}  // namespace

std::optional<FirmwareInterfaceInfo> ParseFirmwareInterfaceInfo(const std::uint8_t* answer,
                                                                std::uint32_t size) {
  if (answer == nullptr || size < sf::kInfoHeadSize) return std::nullopt;
  const std::uint32_t slotCount = answer[sf::kInfoSlotCount];
  if ((size - sf::kInfoSlots) / sf::kSlotSize < slotCount) return std::nullopt;
  FirmwareInterfaceInfo info;
  info.supportUpgrade = (answer[sf::kInfoSupportUpgrade] & 1) != 0;
  info.activeSlot = answer[sf::kInfoActiveSlot];
  info.pendingActivateSlot = answer[sf::kInfoPendingActivateSlot];
  info.alignment = Load(answer, size, sf::kInfoImagePayloadAlignment, 4);
  info.maxSize = Load(answer, size, sf::kInfoImagePayloadMaxSize, 4);
  for (std::uint32_t i = 0; i < slotCount; ++i) {
    const std::uint8_t* entry = answer + sf::kInfoSlots + i * sf::kSlotSize;
    info.slots.push_back({entry[sf::kSlotNumber], (entry[sf::kSlotReadOnly] & 1) != 0,
                          RevisionText(entry + sf::kSlotRevision)});
  }
  return info;
}

std::u16string DescribeFirmwareInterfaceInfo(const FirmwareInterfaceInfo& info) {
  const std::u16string pending = info.pendingActivateSlot == sf::kNoPendingSlot
                                     ? std::u16string(u"none")
                                     : base::Widen(std::to_string(info.pendingActivateSlot));
  std::u16string text = base::Format(
      u"upgrade %s, slots %u, active slot %u, pending slot %s, alignment %u, largest segment %u",
      std::u16string(info.supportUpgrade ? u"supported" : u"not supported"),
      static_cast<std::uint32_t>(info.slots.size()), std::uint32_t{info.activeSlot}, pending,
      info.alignment, info.maxSize);
  for (const auto& slot : info.slots) {
    text += base::Format(u"; slot %u%s revision \"%s\"", std::uint32_t{slot.number},
                         std::u16string(slot.readOnly ? u" (read-only)" : u""),
                         base::Widen(slot.revision));
  }
  return text;
}

std::optional<std::uint8_t> WritableSlot(const FirmwareInterfaceInfo& info) {
  for (const auto& slot : info.slots) {
    if (!slot.readOnly) return slot.number;
  }
  return std::nullopt;
}

std::uint32_t SegmentSize(std::uint32_t alignment, std::uint32_t maxSize,
                          std::uint32_t transferMax) {
  if (alignment == 0) return 0;
  const std::uint32_t limit = transferMax == 0 ? maxSize : std::min(maxSize, transferMax);
  return limit - limit % alignment;
}

StorageFirmwareChannel::Probe StorageFirmwareChannel::Open(const drives::CDrive& drive) {
  Probe probe{base::MakeErrorInfo(kFile, site::kOpenEntry, kOpen), std::nullopt};
  auto& devices = os::Sys().devices;
  os::UniqueDeviceHandle handle(devices.CreateFileW(
      drive.DrivePath.c_str(), os::kGenericRead | os::kGenericWrite,
      os::kFileShareRead | os::kFileShareWrite, nullptr, os::kOpenExisting, 0, nullptr));
  if (!handle.IsValid()) {
    probe.status->Fail(LastError(), kFile, site::kDeviceOpenFailed, kOpen);
    return probe;
  }
  std::uint8_t query[sf::kQuerySize] = {};
  Store(query, sizeof query, sf::kVersion, sf::kQuerySize, 4);
  Store(query, sizeof query, sf::kSize, sf::kQuerySize, 4);
  std::uint8_t answer[kAnswerSize] = {};
  os::DWORD returned = 0;
  if (!devices.DeviceIoControl(handle.Get(), os::kIoctlStorageFirmwareGetInfo, query,
                               sizeof query, answer, sizeof answer, &returned, nullptr)) {
    probe.status->Fail(LastError(), kFile, site::kGetInfoFailed, kOpen);
    return probe;
  }
  probe.info = ParseFirmwareInterfaceInfo(answer, std::min<os::DWORD>(returned, sizeof answer));
  if (!probe.info) {
    probe.status->Fail(os::kErrorInvalidData, kFile, site::kAnswerMalformed, kOpen);
    return probe;
  }
  const std::optional<std::uint8_t> slot = WritableSlot(*probe.info);
  if (!probe.info->supportUpgrade) {
    probe.status->Fail(os::kErrorNotSupported, kFile, site::kNotUpgradable, kOpen);
  } else if (SegmentSize(probe.info->alignment, probe.info->maxSize, 0) == 0) {
    probe.status->Fail(os::kErrorNotSupported, kFile, site::kNoUsableSegment, kOpen);
  } else if (!slot) {
    probe.status->Fail(os::kErrorNotSupported, kFile, site::kNoWritableSlot, kOpen);
  } else {
    targets_[drive.DrivePath] = Target{std::move(handle), *probe.info, *slot};
  }
  return probe;
}

base::ErrorInfoPtr StorageFirmwareChannel::Transfer(const drives::CDrive& drive,
                                                    FirmwareUpdateRecord& record) {
  auto result = base::MakeErrorInfo(kFile, site::kTransferEntry, kTransfer);
  const auto it = targets_.find(drive.DrivePath);
  if (it == targets_.end()) {
    result->Fail(os::kErrorInvalidHandle, kFile, site::kNotOpened, kTransfer);
    return result;
  }
  const Target& target = it->second;
  const std::uint32_t length = record.imageLength();
  const std::uint32_t segment =
      SegmentSize(target.info.alignment, target.info.maxSize, drive.TransferMax);
  // The driver refuses a segment that is not a multiple of the alignment,
  // so the last one, and the image, must be too.
  if (length == 0 || segment == 0 || length % target.info.alignment != 0) {
    result->Fail(os::kErrorInvalidParameter, kFile, site::kImageNotAligned, kTransfer);
    return result;
  }
  const std::uint32_t largest = std::min(segment, length);
  const std::uint32_t blockSize = std::max(sf::kDownloadSize, sf::kDownloadImage + largest);
  std::unique_ptr<std::uint8_t[]> block(new (std::nothrow) std::uint8_t[blockSize]);
  if (block == nullptr) {
    result->Fail(os::kErrorNotEnoughMemory, kFile, site::kNoMemory, kTransfer);
    return result;
  }
  auto& devices = os::Sys().devices;
  record.SetBytesDone(0);
  for (std::uint32_t offset = 0; offset < length;) {
    const std::uint32_t size = std::min(segment, length - offset);
    const std::uint32_t used = std::max(sf::kDownloadSize, sf::kDownloadImage + size);
    std::fill(block.get(), block.get() + used, std::uint8_t{0});
    std::uint32_t flags = 0;
    if (offset == 0) flags |= sf::kFlagFirstSegment;
    if (offset + size == length) flags |= sf::kFlagLastSegment;
    Store(block.get(), used, sf::kVersion, sf::kDownloadSize, 4);
    Store(block.get(), used, sf::kSize, sf::kDownloadImage + size, 4);
    Store(block.get(), used, sf::kFlags, flags, 4);
    Store(block.get(), used, sf::kDownloadSlot, target.slot, 1);
    Store(block.get(), used, sf::kDownloadOffset, offset, 8);
    Store(block.get(), used, sf::kDownloadBufferSize, size, 8);
    std::copy(record.image() + offset, record.image() + offset + size,
              block.get() + sf::kDownloadImage);
    os::DWORD returned = 0;
    if (!devices.DeviceIoControl(target.handle.Get(), os::kIoctlStorageFirmwareDownload,
                                 block.get(), used, block.get(), used, &returned, nullptr)) {
      result->Fail(LastError(), kFile, site::kDownloadFailed, kTransfer);
      return result;
    }
    offset += size;
    record.SetBytesDone(offset);
  }
  std::uint8_t activate[sf::kActivateSize] = {};
  Store(activate, sizeof activate, sf::kVersion, sf::kActivateSize, 4);
  Store(activate, sizeof activate, sf::kSize, sf::kActivateSize, 4);
  Store(activate, sizeof activate, sf::kActivateSlot, target.slot, 1);
  os::DWORD returned = 0;
  if (!devices.DeviceIoControl(target.handle.Get(), os::kIoctlStorageFirmwareActivate, activate,
                               sizeof activate, activate, sizeof activate, &returned, nullptr)) {
    result->Fail(LastError(), kFile, site::kActivateFailed, kTransfer);
  }
  return result;
}

}  // namespace update
