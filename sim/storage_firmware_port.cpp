#include "sim/storage_firmware_port.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "os/constants.h"
#include "os/ioctl.h"
#include "sim/bytes.h"

namespace sim {
namespace {

namespace sf = os::storage_firmware;

constexpr std::uint8_t kDownloadMicrocode = 0x92;
constexpr std::uint8_t kModeSaveDeferred = 0x0E;
constexpr std::uint8_t kModeActivate = 0x0F;
constexpr std::uint32_t kBlock = 512;
// Words 234 and 235 of 0 or FFFFh give no figure: the driver assumes one
// block and 128 blocks.
constexpr std::uint16_t kDefaultMaxBlocks = 128;
// The one slot an ATA drive has.
constexpr std::uint8_t kSlot = 0;

os::BOOL Refuse(os::DWORD code, os::DWORD& error) {
  error = code;
  return os::kFalse;
}

std::uint64_t Get64(const std::vector<std::uint8_t>& b, std::size_t at) {
  return Get32(b, at) | std::uint64_t{Get32(b, at + 4)} << 32;
}

bool Unset(std::uint16_t word) { return word == 0 || word == 0xFFFF; }

}  // namespace

bool StorageFirmwarePort::Handles(os::DWORD code) {
  return code == os::kIoctlStorageFirmwareGetInfo || code == os::kIoctlStorageFirmwareDownload ||
         code == os::kIoctlStorageFirmwareActivate;
}

std::uint16_t StorageFirmwarePort::IdentifyWord(int word) const {
  const Sector block = device_.IdentifyBlock();
  return Get16(block.data() + 2 * word);
}

std::uint32_t StorageFirmwarePort::Alignment() const {
  const std::uint16_t blocks = IdentifyWord(234);
  return (Unset(blocks) ? 1 : blocks) * kBlock;
}

std::uint32_t StorageFirmwarePort::MaxSegment() const {
  const std::uint16_t blocks = IdentifyWord(235);
  return (Unset(blocks) ? kDefaultMaxBlocks : blocks) * kBlock;
}

bool StorageFirmwarePort::Upgradable() const {
  const DriveDescription& d = device_.description();
  return d.downloadMicrocode && d.deferredDownload;
}

os::BOOL StorageFirmwarePort::Control(os::DWORD code, const std::vector<std::uint8_t>& in,
                                      void* out, os::DWORD outSize, os::DWORD& returned,
                                      os::DWORD& error, InjectedFault injected) {
  returned = 0;
  const char* step = code == os::kIoctlStorageFirmwareGetInfo    ? "firmware-get-info"
                     : code == os::kIoctlStorageFirmwareDownload ? "firmware-download"
                                                                 : "firmware-activate";
  const auto fault = device_.TakeFault(step);
  if (fault && fault->latencyMs != 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(fault->latencyMs));
  }
  if (fault && fault->ioctlError) return Refuse(*fault->ioctlError, error);
  // A register fault on a download or activation is the drive refusing it.
  if (fault && (fault->status || fault->error) && code != os::kIoctlStorageFirmwareGetInfo) {
    return Refuse(os::kErrorIoDevice, error);
  }
  if (injected == InjectedFault::BadScsiStatus) return Refuse(os::kErrorGenFailure, error);
  switch (code) {
    case os::kIoctlStorageFirmwareGetInfo:
      return GetInfo(in, out, outSize, returned, error);
    case os::kIoctlStorageFirmwareDownload:
      return Download(in, error, injected);
    default:
      return Activate(in, error, injected);
  }
}

os::BOOL StorageFirmwarePort::GetInfo(const std::vector<std::uint8_t>& in, void* out,
                                      os::DWORD outSize, os::DWORD& returned,
                                      os::DWORD& error) {
  if (in.size() < sf::kQuerySize || Get32(in, sf::kVersion) != sf::kQuerySize ||
      Get32(in, sf::kSize) < sf::kQuerySize || out == nullptr ||
      outSize < sf::kInfoVersion) {
    return Refuse(os::kErrorInvalidParameter, error);
  }
  std::vector<std::uint8_t> info(sf::kInfoVersion, 0);
  Put32(info.data() + sf::kVersion, sf::kInfoVersion);
  Put32(info.data() + sf::kSize, sf::kInfoVersion);
  info[sf::kInfoSupportUpgrade] = Upgradable() ? 1 : 0;
  info[sf::kInfoSlotCount] = 1;
  info[sf::kInfoActiveSlot] = kSlot;
  info[sf::kInfoPendingActivateSlot] =
      device_.staged() == StagedImage::Saved ? kSlot : sf::kNoPendingSlot;
  info[sf::kInfoFirmwareShared] = 1;
  Put32(info.data() + sf::kInfoImagePayloadAlignment, Alignment());
  Put32(info.data() + sf::kInfoImagePayloadMaxSize, MaxSegment());
  std::uint8_t* slot = info.data() + sf::kInfoSlots;
  Put32(slot + sf::kVersion, sf::kSlotSize);
  Put32(slot + sf::kSize, sf::kSlotSize);
  slot[sf::kSlotNumber] = kSlot;
  const std::string revision = device_.firmware();
  std::memcpy(slot + sf::kSlotRevision, revision.data(),
              std::min<std::size_t>(revision.size(), sf::kRevisionLength));
  std::memcpy(out, info.data(), info.size());
  returned = sf::kInfoVersion;
  return os::kTrue;
}

os::BOOL StorageFirmwarePort::Download(const std::vector<std::uint8_t>& in, os::DWORD& error,
                                       InjectedFault injected) {
  if (in.size() < sf::kDownloadImage || Get32(in, sf::kVersion) != sf::kDownloadSize ||
      Get32(in, sf::kSize) > in.size() || in[sf::kDownloadSlot] != kSlot) {
    return Refuse(os::kErrorInvalidParameter, error);
  }
  const std::uint64_t offset = Get64(in, sf::kDownloadOffset);
  const std::uint64_t size = Get64(in, sf::kDownloadBufferSize);
  if (size > Get32(in, sf::kSize) - sf::kDownloadImage) {
    return Refuse(os::kErrorInvalidParameter, error);
  }
  if (!Upgradable()) return Refuse(os::kErrorNotSupported, error);
  if (size == 0 || size % Alignment() != 0 || size > MaxSegment() || offset % kBlock != 0 ||
      offset / kBlock > 0xFFFF) {
    return Refuse(os::kErrorInvalidParameter, error);
  }
  const auto blocks = static_cast<std::uint32_t>(size / kBlock);
  AtaCommand c;
  c.command = kDownloadMicrocode;
  c.features = kModeSaveDeferred;
  c.count = blocks & 0xFF;
  c.lba = (blocks >> 8 & 0xFF) | (offset / kBlock) << 8;
  std::vector<std::uint8_t> data(in.begin() + sf::kDownloadImage,
                                 in.begin() + sf::kDownloadImage + static_cast<std::ptrdiff_t>(size));
  if (!Send(c, data, error, injected)) return os::kFalse;
  if (segmentDelayMs_ != 0) std::this_thread::sleep_for(std::chrono::milliseconds(segmentDelayMs_));
  return os::kTrue;
}

os::BOOL StorageFirmwarePort::Activate(const std::vector<std::uint8_t>& in, os::DWORD& error,
                                       InjectedFault injected) {
  if (in.size() < sf::kActivateSize || Get32(in, sf::kVersion) != sf::kActivateSize ||
      in[sf::kActivateSlot] != kSlot) {
    return Refuse(os::kErrorInvalidParameter, error);
  }
  if (!Upgradable()) return Refuse(os::kErrorNotSupported, error);
  AtaCommand c;
  c.command = kDownloadMicrocode;
  c.features = kModeActivate;
  std::vector<std::uint8_t> none;
  return Send(c, none, error, injected);
}

os::BOOL StorageFirmwarePort::Send(const AtaCommand& c,
                                   std::vector<std::uint8_t>& data, os::DWORD& error,
                                   InjectedFault injected) {
  const AtaResult r = injected == InjectedFault::AtaError ? Aborted() : device_.Execute(c, data);
  if (r.ioctlError) return Refuse(*r.ioctlError, error);
  if ((r.status & 0x89) != 0 || r.error != 0) return Refuse(os::kErrorIoDevice, error);
  return os::kTrue;
}

}  // namespace sim
