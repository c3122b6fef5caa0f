#include "sim/sim_drive.h"

#include <algorithm>
#include <cstring>

#include "os/constants.h"
#include "os/ioctl.h"
#include "sim/bytes.h"

namespace sim {
namespace {

namespace apt = os::ata_pass_through;
namespace spt = os::scsi_pass_through;
namespace sq = os::storage_query;

constexpr std::uint8_t kAtaPassThrough16 = 0x85;
constexpr std::uint8_t kReturnResponseInfo = 15;
constexpr std::uint8_t kCheckCondition = 0x02;
constexpr std::uint32_t kDescriptorBytes = 22;

os::BOOL Refuse(os::DWORD code, os::DWORD& error) {
  error = code;
  return os::kFalse;
}

std::uint8_t Byte(std::uint64_t v, int n) { return static_cast<std::uint8_t>(v >> (8 * n)); }

constexpr std::uint8_t kScsiBusy = 0x08;

}  // namespace

void SimDrive::OfferFirmwareInterface(std::uint32_t segmentDelayMs) {
  std::lock_guard lock(mutex_);
  firmwarePort_ = std::make_unique<StorageFirmwarePort>(device_, segmentDelayMs);
}

std::uint64_t SimDrive::Commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

std::chrono::nanoseconds SimDrive::BusyTime() const {
  std::lock_guard lock(mutex_);
  return busy_;
}

os::BOOL SimDrive::Control(os::DWORD code, const void* in, os::DWORD inSize,
                           void* out, os::DWORD outSize, os::DWORD& returned,
                           os::DWORD& error, InjectedFault injected) {
  std::lock_guard lock(mutex_);
  const auto start = std::chrono::steady_clock::now();
  ++commands_;
  const os::BOOL result = Answer(code, in, inSize, out, outSize, returned, error, injected);
  busy_ += std::chrono::steady_clock::now() - start;
  return result;
}

os::BOOL SimDrive::Answer(os::DWORD code, const void* in, os::DWORD inSize, void* out,
                          os::DWORD outSize, os::DWORD& returned, os::DWORD& error,
                          InjectedFault injected) {
  returned = 0;
  if (injected == InjectedFault::IoctlFailure) return Refuse(os::kErrorGenFailure, error);
  // The input is taken first: callers pass one block both ways.
  const auto* bytes = static_cast<const std::uint8_t*>(in);
  const std::vector<std::uint8_t> request =
      bytes == nullptr ? std::vector<std::uint8_t>{}
                       : std::vector<std::uint8_t>(bytes, bytes + inSize);
  switch (code) {
    case os::kIoctlAtaPassThrough:
      return AtaPassThrough(request, out, outSize, returned, error, injected);
    case os::kIoctlScsiPassThrough:
      return ScsiPassThrough(request, out, outSize, returned, error, injected);
    case os::kIoctlStorageQueryProperty:
      return StorageQuery(request, out, outSize, returned, error, injected);
    case os::kIoctlStorageFirmwareGetInfo:
    case os::kIoctlStorageFirmwareDownload:
    case os::kIoctlStorageFirmwareActivate:
      if (firmwarePort_ == nullptr) return Refuse(os::kErrorInvalidFunction, error);
      return firmwarePort_->Control(code, request, out, outSize, returned, error, injected);
    default:
      return Refuse(os::kErrorInvalidFunction, error);
  }
}

os::BOOL SimDrive::AtaPassThrough(const std::vector<std::uint8_t>& in, void* out,
                                  os::DWORD outSize, os::DWORD& returned,
                                  os::DWORD& error, InjectedFault injected) {
  if (busType_ != os::kBusTypeAta && busType_ != os::kBusTypeSata &&
      busType_ != os::kBusTypeRaid) {
    return Refuse(os::kErrorNotSupported, error);
  }
  if (in.size() < apt::kSize || outSize < apt::kSize || out == nullptr ||
      Get16(in, apt::kLength) != apt::kSize) {
    return Refuse(os::kErrorInvalidParameter, error);
  }
  const std::uint16_t flags = Get16(in, apt::kAtaFlags);
  const bool dataIn = flags & apt::kFlagDataIn;
  const bool dataOut = flags & apt::kFlagDataOut;
  const bool ext = flags & apt::kFlag48BitCommand;
  const std::uint32_t length = Get32(in, apt::kDataTransferLength);
  if ((dataIn && dataOut) || (length != 0 && Get32(in, apt::kDataBufferOffset) != apt::kSize) ||
      (dataOut && in.size() < apt::kSize + std::uint64_t{length}) ||
      (dataIn && outSize < apt::kSize + std::uint64_t{length})) {
    return Refuse(os::kErrorInvalidParameter, error);
  }
  const std::uint8_t* cur = in.data() + apt::kCurrentTaskFile;
  const std::uint8_t* prev = in.data() + apt::kPreviousTaskFile;
  AtaCommand c;
  c.features = static_cast<std::uint16_t>(cur[0] | (ext ? prev[0] << 8 : 0));
  c.count = static_cast<std::uint16_t>(cur[1] | (ext ? prev[1] << 8 : 0));
  c.lba = std::uint64_t{cur[2]} | std::uint64_t{cur[3]} << 8 | std::uint64_t{cur[4]} << 16;
  if (ext) {
    c.lba |= std::uint64_t{prev[2]} << 24 | std::uint64_t{prev[3]} << 32 |
             std::uint64_t{prev[4]} << 40;
  }
  c.device = cur[5];
  c.command = cur[6];
  // The direction and length the command needs must be what the block says.
  const Direction direction = device_.DirectionOf(c);
  const std::uint32_t needed = device_.BytesOf(c);
  if ((direction == Direction::In) != dataIn ||
      (direction == Direction::Out) != dataOut || length < needed) {
    return Refuse(os::kErrorInvalidParameter, error);
  }
  if (const auto fault = device_.TakeFault("ata-pass-through"); fault && fault->ioctlError) {
    return Refuse(*fault->ioctlError, error);
  }
  if (injected == InjectedFault::BadScsiStatus) return Refuse(os::kErrorGenFailure, error);
  std::vector<std::uint8_t> data(needed, 0);
  if (dataOut) std::copy_n(in.begin() + apt::kSize, needed, data.begin());
  const AtaResult r = injected == InjectedFault::AtaError ? Aborted() : device_.Execute(c, data);

  auto* block = static_cast<std::uint8_t*>(out);
  std::memcpy(block, in.data(), apt::kSize);
  std::uint8_t* rcur = block + apt::kCurrentTaskFile;
  std::uint8_t* rprev = block + apt::kPreviousTaskFile;
  rcur[0] = r.error;
  rcur[1] = r.count & 0xFF;
  rcur[2] = Byte(r.lba, 0);
  rcur[3] = Byte(r.lba, 1);
  rcur[4] = Byte(r.lba, 2);
  rcur[5] = r.device;
  rcur[6] = r.status;
  if (ext) {
    rprev[0] = 0;
    rprev[1] = r.count >> 8;
    rprev[2] = Byte(r.lba, 3);
    rprev[3] = Byte(r.lba, 4);
    rprev[4] = Byte(r.lba, 5);
  }
  if (dataIn) std::copy(data.begin(), data.end(), block + apt::kSize);
  returned = apt::kSize + (dataIn ? length : 0);
  if (r.ioctlError) return Refuse(*r.ioctlError, error);
  return os::kTrue;
}

os::BOOL SimDrive::ScsiPassThrough(const std::vector<std::uint8_t>& in, void* out,
                                   os::DWORD outSize, os::DWORD& returned,
                                   os::DWORD& error, InjectedFault injected) {
  if (in.size() < spt::kSize || outSize < spt::kSize || out == nullptr ||
      Get16(in, spt::kLength) != spt::kSize || in[spt::kCdbLength] != 16 ||
      in[spt::kDataIn] > spt::kDataUnspecified) {
    return Refuse(os::kErrorInvalidParameter, error);
  }
  const std::uint8_t* cdb = in.data() + spt::kCdb;
  const std::uint8_t protocol = (cdb[1] >> 1) & 0x0F;
  if (cdb[0] == kAtaPassThrough16 && protocol == kReturnResponseInfo) {
    return ReturnResponseInformation(in, out, outSize, returned, error, injected);
  }
  const std::uint32_t length = Get32(in, spt::kDataTransferLength);
  const std::uint8_t dataIn = in[spt::kDataIn];
  if ((dataIn == spt::kDataOut && in.size() < spt::kSize + std::uint64_t{length}) ||
      (dataIn == spt::kDataInDirection && outSize < spt::kSize + std::uint64_t{length}) ||
      (length != 0 && Get32(in, spt::kDataBufferOffset) != spt::kSize)) {
    return Refuse(os::kErrorInvalidParameter, error);
  }
  if (const auto fault = device_.TakeFault("scsi-pass-through")) {
    if (fault->ioctlError) return Refuse(*fault->ioctlError, error);
    if (fault->scsiStatus) {
      auto* block = static_cast<std::uint8_t*>(out);
      std::memcpy(block, in.data(), spt::kSize);
      block[spt::kScsiStatus] = *fault->scsiStatus;
      returned = spt::kSize;
      return os::kTrue;
    }
  }
  auto* block = static_cast<std::uint8_t*>(out);
  if (injected == InjectedFault::BadScsiStatus) {
    std::memcpy(block, in.data(), spt::kSize);
    block[spt::kScsiStatus] = kScsiBusy;
    returned = spt::kSize;
    return os::kTrue;
  }
  if (cdb[0] != kAtaPassThrough16) {
    std::memcpy(block, in.data(), spt::kSize);
    block[spt::kScsiStatus] = kCheckCondition;  // invalid operation code
    returned = spt::kSize;
    return os::kTrue;
  }
  const bool ext = cdb[1] & 1;
  AtaCommand c;
  c.features = static_cast<std::uint16_t>(cdb[4] | (ext ? cdb[3] << 8 : 0));
  c.count = static_cast<std::uint16_t>(cdb[6] | (ext ? cdb[5] << 8 : 0));
  c.lba = std::uint64_t{cdb[8]} | std::uint64_t{cdb[10]} << 8 | std::uint64_t{cdb[12]} << 16;
  if (ext) {
    c.lba |= std::uint64_t{cdb[7]} << 24 | std::uint64_t{cdb[9]} << 32 |
             std::uint64_t{cdb[11]} << 40;
  }
  c.device = cdb[13];
  c.command = cdb[14];
  // SAT protocols 3 (non-data), 4 and 5 (PIO in/out), 6 (DMA) are carried;
  // for data the length must be in blocks of the count field (0x06 set).
  const Direction direction = device_.DirectionOf(c);
  const std::uint32_t needed = device_.BytesOf(c);
  const bool tDirIn = cdb[2] & 0x08;
  const bool blocksInCount = (cdb[2] & 0x07) == 0x06;
  bool wellFormed = protocol == 3 || protocol == 4 || protocol == 5 || protocol == 6;
  if (direction == Direction::None) {
    wellFormed = wellFormed && (protocol == 3 || protocol == 6);
  } else {
    const bool in = direction == Direction::In;
    wellFormed = wellFormed && protocol != 3 && blocksInCount && tDirIn == in &&
                 dataIn == (in ? spt::kDataInDirection : spt::kDataOut) &&
                 length >= needed;
  }
  if (!wellFormed) return Refuse(os::kErrorInvalidParameter, error);

  std::vector<std::uint8_t> data(needed, 0);
  if (direction == Direction::Out) std::copy_n(in.begin() + spt::kSize, needed, data.begin());
  const AtaResult r = injected == InjectedFault::AtaError ? Aborted() : device_.Execute(c, data);
  lastResult_ = r;
  lastExtend_ = ext;
  std::memcpy(block, in.data(), spt::kSize);
  if (direction == Direction::In) std::copy(data.begin(), data.end(), block + spt::kSize);
  const bool failed = (r.status & 0x01) != 0;
  block[spt::kScsiStatus] = failed ? kCheckCondition : 0;
  returned = spt::kSize + (direction == Direction::In ? length : 0);
  if (r.ioctlError) return Refuse(*r.ioctlError, error);
  return os::kTrue;
}

// The ATA status return descriptor of the last command, at the start of
// the data or after an 8-byte header.
os::BOOL SimDrive::ReturnResponseInformation(const std::vector<std::uint8_t>& in,
                                             void* out, os::DWORD outSize,
                                             os::DWORD& returned,
                                             os::DWORD& error,
                                             InjectedFault injected) {
  if (in[spt::kDataIn] != spt::kDataInDirection ||
      Get32(in, spt::kDataTransferLength) < kDescriptorBytes ||
      outSize < spt::kSize + kDescriptorBytes) {
    return Refuse(os::kErrorInvalidParameter, error);
  }
  auto* block = static_cast<std::uint8_t*>(out);
  std::memcpy(block, in.data(), spt::kSize);
  std::uint8_t* data = block + spt::kSize;
  std::memset(data, 0, kDescriptorBytes);
  const bool afterHeader = device_.description().descriptorAfterHeader;
  std::uint8_t* d = data + (afterHeader ? 8 : 0);
  if (afterHeader) data[0] = 0x48;
  const AtaResult& r = lastResult_;
  d[0] = 0x09;
  d[1] = 0x0C;
  d[2] = lastExtend_ ? 1 : 0;
  d[3] = r.error;
  d[4] = r.count >> 8;
  d[5] = r.count & 0xFF;
  d[6] = Byte(r.lba, 3);
  d[7] = Byte(r.lba, 0);
  d[8] = Byte(r.lba, 4);
  d[9] = Byte(r.lba, 1);
  d[10] = Byte(r.lba, 5);
  d[11] = Byte(r.lba, 2);
  d[12] = r.device;
  d[13] = r.status;
  returned = spt::kSize + kDescriptorBytes;
  if (injected == InjectedFault::AtaError) {
    d[3] = Aborted().error;
    d[13] = Aborted().status;
  }
  if (injected == InjectedFault::BadScsiStatus) block[spt::kScsiStatus] = kScsiBusy;
  if (const auto fault = device_.TakeFault("registers")) {
    if (fault->ioctlError) return Refuse(*fault->ioctlError, error);
    if (fault->scsiStatus) block[spt::kScsiStatus] = *fault->scsiStatus;
    if (fault->descriptorCode) data[0] = *fault->descriptorCode;
  }
  return os::kTrue;
}

os::BOOL SimDrive::StorageQuery(const std::vector<std::uint8_t>& in, void* out,
                                os::DWORD outSize, os::DWORD& returned,
                                os::DWORD& error, InjectedFault injected) {
  if (in.size() < sq::kQuerySize || Get32(in, 0) != sq::kStorageDeviceProperty ||
      Get32(in, 4) != sq::kPropertyStandardQuery || out == nullptr ||
      outSize < sq::kBusTypeOffset + 4) {
    return Refuse(os::kErrorInvalidParameter, error);
  }
  if (injected != InjectedFault::None) return Refuse(os::kErrorGenFailure, error);
  if (const auto fault = device_.TakeFault("storage-query"); fault && fault->ioctlError) {
    return Refuse(*fault->ioctlError, error);
  }
  auto* descriptor = static_cast<std::uint8_t*>(out);
  std::memset(descriptor, 0, std::min<os::DWORD>(outSize, 40));
  Put32(descriptor, 40);      // Version
  Put32(descriptor + 4, 40);  // Size
  Put32(descriptor + sq::kBusTypeOffset, busType_);
  returned = std::min<os::DWORD>(outSize, 40);
  return os::kTrue;
}

}  // namespace sim
