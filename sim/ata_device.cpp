#include "sim/ata_device.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include "sim/bytes.h"
#include "sim/firmware_image.h"

namespace sim {
namespace {

constexpr std::uint8_t kIdentify = 0xEC;
constexpr std::uint8_t kSetFeatures = 0xEF;
constexpr std::uint8_t kSmart = 0xB0;
constexpr std::uint8_t kVendorMode = 0x80;
constexpr std::uint8_t kDownloadMicrocode = 0x92;
constexpr std::uint8_t kStatusError = 0x51;
constexpr std::uint8_t kErrorAbort = 0x04;
constexpr std::uint64_t kSmartSignature = 0xC24F00;
constexpr std::uint64_t kLevel4Signature = 0x613C00;
constexpr std::uint32_t kSector = 512;
constexpr std::size_t kLargestImage = 64u << 20;

constexpr std::uint8_t kKeyLog = 0xBE;
constexpr std::uint8_t kResponseLog = 0xBD;
constexpr std::uint8_t kDataLog = 0xBF;

using Lock = std::lock_guard<std::recursive_mutex>;

std::uint8_t SmartLog(const AtaCommand& c) { return c.lba & 0xFF; }

bool IsSmart(const AtaCommand& c) {
  return c.command == kSmart && (c.lba & 0xFFFF00) == kSmartSignature;
}

}  // namespace

AtaDevice::AtaDevice(DriveDescription description)
    : description_(std::move(description)),
      firmware_(description_.firmware),
      revisionSet_(description_.revisionSet),
      spunUp_(!description_.spinUpRequired) {}

std::string AtaDevice::firmware() const {
  Lock lock(mutex_);
  return firmware_;
}

Sector AtaDevice::IdentifyBlock() const {
  Lock lock(mutex_);
  return BuildIdentify(description_, firmware_, true);
}

std::string AtaDevice::revisionSet() const {
  Lock lock(mutex_);
  return revisionSet_;
}

bool AtaDevice::vendorModeOn() const {
  Lock lock(mutex_);
  return vendorMode_;
}

Direction AtaDevice::DirectionOf(const AtaCommand& c) const {
  switch (c.command) {
    case kIdentify:
      return Direction::In;
    case kDownloadMicrocode:
      return Direction::Out;
    case kSmart:
      switch (c.features & 0xFF) {
        case 0xD0: case 0xD1: case 0xD5: return Direction::In;
        case 0xD6: return Direction::Out;
        default: return Direction::None;
      }
    default:
      return Direction::None;
  }
}

std::uint32_t AtaDevice::BytesOf(const AtaCommand& c) const {
  switch (DirectionOf(c)) {
    case Direction::None:
      return 0;
    default:
      break;
  }
  if (c.command == kIdentify) return kSector;
  if (c.command == kDownloadMicrocode) {
    const std::uint32_t blocks = (c.count & 0xFF) | (c.lba & 0xFF) << 8;
    return blocks * kSector;
  }
  const std::uint8_t f = c.features & 0xFF;
  if (f == 0xD0 || f == 0xD1) return kSector;
  return (c.count & 0xFF) * kSector;
}

std::optional<Fault> AtaDevice::TakeFault(const std::string& on) {
  Lock lock(mutex_);
  for (auto& fault : description_.faults) {
    if (fault.on != on || fault.times == 0) continue;
    if (fault.skip > 0) {
      --fault.skip;
      continue;
    }
    if (fault.times > 0) --fault.times;
    return fault;
  }
  return std::nullopt;
}

AtaResult AtaDevice::ApplyFault(const std::string& on, AtaResult result) {
  const auto fault = TakeFault(on);
  if (!fault) return result;
  if (fault->latencyMs != 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(fault->latencyMs));
  }
  if (fault->ioctlError) result.ioctlError = fault->ioctlError;
  if (fault->status) result.status = *fault->status;
  if (fault->error) result.error = *fault->error;
  return result;
}

AtaResult Aborted() {
  AtaResult r;
  r.status = kStatusError;
  r.error = kErrorAbort;
  return r;
}

AtaResult AtaDevice::Execute(const AtaCommand& c,
                             std::vector<std::uint8_t>& data) {
  Lock lock(mutex_);
  if (description_.latencyMs != 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(description_.latencyMs));
  }
  switch (c.command) {
    case kIdentify:
      return ApplyFault("identify", Identify(data));
    case kSetFeatures:
      return SetFeatures(c);
    case kVendorMode:
      return VendorModeCommand(c);
    case kDownloadMicrocode:
      return ApplyFault("download", Download(c, data));
    case kSmart:
      if (IsSmart(c)) return Smart(c, data);
      return Aborted();
    default:
      return Aborted();
  }
}

AtaResult AtaDevice::Identify(std::vector<std::uint8_t>& data) {
  const Sector block = BuildIdentify(description_, firmware_, spunUp_);
  std::copy(block.begin(), block.end(), data.begin());
  return AtaResult{};
}

AtaResult AtaDevice::SetFeatures(const AtaCommand& c) {
  if ((c.features & 0xFF) == 0x07) spunUp_ = true;
  return AtaResult{};
}

// Level 4: features 0x45 on, 0x44 off, with the signature in LBA mid/high.
AtaResult AtaDevice::VendorModeCommand(const AtaCommand& c) {
  if (description_.vscLevel != 4 || (c.lba & 0xFFFF00) != kLevel4Signature) {
    return Aborted();
  }
  const std::uint8_t f = c.features & 0xFF;
  if (f != 0x45 && f != 0x44) return Aborted();
  const std::string step = f == 0x45 ? "vendor:enable" : "vendor:disable";
  AtaResult r = ApplyFault(step, AtaResult{});
  if (r.status == 0x50 && r.error == 0) vendorMode_ = f == 0x45;
  return r;
}

AtaResult AtaDevice::Smart(const AtaCommand& c, std::vector<std::uint8_t>& data) {
  AtaResult ok;
  ok.lba = kSmartSignature;
  switch (c.features & 0xFF) {
    case 0xD8: case 0xD9: case 0xD4:
      return ApplyFault("smart", ok);
    case 0xDA:
      return ApplyFault("smart", ok);  // no threshold exceeded
    case 0xD0: case 0xD1:
      data.assign(kSector, 0);
      data[0] = 0x10;  // data structure revision
      return ApplyFault("smart", ok);
    case 0xD6:
      if (SmartLog(c) == kKeyLog && (c.count & 0xFF) == 1) return KeySector(data);
      return ApplyFault("smart", ok);
    case 0xD5: {
      const std::uint8_t log = SmartLog(c);
      std::fill(data.begin(), data.end(), 0);
      if (log == kResponseLog && description_.vscLevel == 5) {
        std::copy(response_.begin(), response_.end(), data.begin());
        return ok;
      }
      if (log == kKeyLog) {
        std::copy(lastKeySector_.begin(), lastKeySector_.end(), data.begin());
        return ok;
      }
      if (log == kDataLog) {
        if (!vendorMode_) return Aborted();
        const std::size_t take = std::min(data.size(), pending_.size() - pendingRead_);
        std::copy_n(pending_.begin() + pendingRead_, take, data.begin());
        pendingRead_ += take;
        return ApplyFault("vendor:data", ok);
      }
      return ApplyFault("smart", ok);
    }
    default:
      return Aborted();
  }
}

// The length of the action's data: level 4 in LBA high/mid of the key
// sector's command, level 5 in the response sector.
AtaResult AtaDevice::Announce(std::uint32_t sectors, std::uint32_t bytes) {
  AtaResult r;
  r.lba = kSmartSignature;
  if (description_.vscLevel == 4) {
    r.lba = (r.lba & ~0xFFFF00ull) | (std::uint64_t{sectors & 0xFFFF} << 8);
    return r;
  }
  response_.fill(0);
  const std::uint16_t version = description_.responseVersion;
  response_[0] = version & 0xFF;
  response_[1] = version >> 8;
  const std::uint32_t length = version == 0x0100 ? sectors : bytes;
  const std::size_t at = version == 0x0100 ? 10 : 2;
  for (int i = 0; i < 4; ++i) response_[at + i] = (length >> (8 * i)) & 0xFF;
  return r;
}

AtaResult AtaDevice::KeySector(const std::vector<std::uint8_t>& sector) {
  std::copy_n(sector.begin(), kSector, lastKeySector_.begin());
  const std::uint16_t action = Get16(sector, 0);
  const std::uint16_t first = Get16(sector, 2);
  if (action == 0x0046 && description_.vscLevel == 5) {
    if (first == 0x0001) {
      if (!std::equal(description_.vendorModeKey.begin(),
                      description_.vendorModeKey.end(), sector.begin() + 258)) {
        return Aborted();
      }
      AtaResult r = ApplyFault("vendor:enable", Announce(0, 0));
      if (r.status == 0x50 && r.error == 0) vendorMode_ = true;
      return r;
    }
    if (first == 0x0002) {
      AtaResult r = ApplyFault("vendor:disable", Announce(0, 0));
      if (r.status == 0x50 && r.error == 0) vendorMode_ = false;
      return r;
    }
    return Aborted();
  }
  if (!vendorMode_) return Aborted();
  if (action == 0x000D && first == 1) {
    const Sector table = BuildPhysParams(description_, revisionSet_);
    pending_.assign(table.begin(), table.end());
  } else if (action == 0x0065 && first == 1 && description_.vscLevel == 5) {
    pending_ = InfoRecord(Get16(sector, 4));
  } else {
    return Aborted();
  }
  pendingRead_ = 0;
  const auto sectors = static_cast<std::uint32_t>(pending_.size() / kSector);
  return ApplyFault("vendor:key", Announce(sectors, static_cast<std::uint32_t>(pending_.size())));
}

// Information record: the entry table at h = 16 (named at offset 4); at
// h + 2 the value length L, at h + 4 the count N, then N entries of a tag
// and L value bytes. Record 1 holds the revision base, record 0 the suffix,
// under tag 14.
std::vector<std::uint8_t> AtaDevice::InfoRecord(std::uint16_t selector) const {
  const auto space = revisionSet_.find(' ');
  std::string value;
  if (selector == 1) value = revisionSet_.substr(0, space);
  if (selector == 0 && space != std::string::npos) value = revisionSet_.substr(space + 1);
  // The longest value the 16-bit length field can carry.
  if (value.size() > 0xFFFF) value.resize(0xFFFF);
  const std::uint16_t length = static_cast<std::uint16_t>(std::max<std::size_t>(value.size(), 1));
  const std::uint16_t tags[] = {3, static_cast<std::uint16_t>(selector <= 1 ? 14 : 9), 7};
  // As many whole sectors as the three entries need.
  const std::size_t used = 22 + std::size(tags) * (2 + std::size_t{length});
  std::vector<std::uint8_t> record((used + kSector - 1) / kSector * kSector, 0);
  record[4] = 16;
  record[18] = length & 0xFF;
  record[19] = length >> 8;
  record[20] = 3;
  std::size_t entry = 22;
  for (std::uint16_t tag : tags) {
    record[entry] = static_cast<std::uint8_t>(tag);
    if (tag == 14) std::copy(value.begin(), value.end(), record.begin() + entry + 2);
    entry += 2 + length;
  }
  return record;
}

// Mode 3: segments whose offset follows on what has arrived, each between
// the drive's minimum and maximum block counts (the last may be shorter);
// mode 7: the whole image at once. A whole, valid image for this drive is
// activated; anything else aborts and starts the download over. Mode 0Eh
// receives segments as mode 3 does but saves a whole, valid image for a
// later mode 0Fh or the next power-on instead of running it.
AtaResult AtaDevice::Download(const AtaCommand& c,
                              const std::vector<std::uint8_t>& data) {
  if (!description_.downloadMicrocode) return Aborted();
  const std::uint8_t mode = c.features & 0xFF;
  AtaResult done;
  done.count = 2;
  switch (mode) {
    case 0x07:
      download_.clear();
      return Activate(data) ? done : Aborted();
    case 0x03:
      if (!description_.segmented) break;
      return ReceiveSegment(c, data, [this, done] {
        return Activate(download_) ? done : Aborted();
      });
    case 0x0E:
      if (!description_.deferredDownload) break;
      return ReceiveSegment(c, data, [this] {
        if (!Accepts(download_)) return Aborted();
        saved_ = download_;
        staged_ = StagedImage::Saved;
        AtaResult saved;
        saved.count = 3;
        return saved;
      });
    case 0x0F:
      if (!description_.deferredDownload || staged_ != StagedImage::Saved) break;
      return ActivateSaved() ? done : Aborted();
    default:
      break;
  }
  download_.clear();
  return Aborted();
}

AtaResult AtaDevice::ReceiveSegment(const AtaCommand& c, const std::vector<std::uint8_t>& data,
                                    const std::function<AtaResult()>& whole) {
  const std::uint32_t blocks = (c.count & 0xFF) | (c.lba & 0xFF) << 8;
  const std::uint32_t offset = (c.lba >> 8) & 0xFFFF;
  auto refuse = [this] {
    download_.clear();
    if (staged_ == StagedImage::Partial) staged_ = StagedImage::None;
    return Aborted();
  };
  if (blocks == 0 || blocks > std::max<std::uint16_t>(description_.transferMaxBlocks, 1) ||
      offset * std::size_t{kSector} != download_.size()) {
    return refuse();
  }
  AtaResult more;
  more.count = 1;
  download_.insert(download_.end(), data.begin(), data.begin() + blocks * kSector);
  staged_ = StagedImage::Partial;
  if (download_.size() < 64) return more;
  const std::uint32_t payload = Get32(download_, 12);
  const std::size_t total = (64 + std::size_t{payload} + kSector - 1) / kSector * kSector;
  // Room for the whole image once its header tells the size, rather than
  // growing by doubling; a header claiming more than any image is not
  // believed that far.
  if (total <= kLargestImage) download_.reserve(total);
  if (download_.size() < total) {
    if (blocks < description_.transferMinBlocks) return refuse();
    return more;
  }
  if (download_.size() != total) return refuse();
  const AtaResult result = whole();
  download_.clear();
  if (staged_ == StagedImage::Partial) staged_ = StagedImage::None;
  return result;
}

bool AtaDevice::Accepts(const std::vector<std::uint8_t>& image) const {
  const auto header = CheckFirmwareImage(image);
  return header && header->familyId == description_.familyId &&
         header->configId == description_.configId;
}

bool AtaDevice::ActivateSaved() {
  std::vector<std::uint8_t> image = std::move(saved_);
  saved_.clear();
  staged_ = StagedImage::None;
  return Activate(image);
}

StagedImage AtaDevice::staged() const {
  Lock lock(mutex_);
  return staged_;
}

bool AtaDevice::Activate(const std::vector<std::uint8_t>& image) {
  Lock lock(mutex_);
  const auto header = CheckFirmwareImage(image);
  if (!Accepts(image)) return false;
  std::string set = header->revisionBase + " " + header->revisionSuffix;
  if (description_.activatesAtRestart) {
    atRestart_.emplace(header->firmwareRevision, std::move(set));
    return true;
  }
  firmware_ = header->firmwareRevision;
  revisionSet_ = std::move(set);
  staged_ = StagedImage::Active;
  return true;
}

void AtaDevice::PowerCycle() {
  Lock lock(mutex_);
  // A saved deferred image starts at power-on; one cut short is lost.
  download_.clear();
  if (staged_ == StagedImage::Saved) {
    std::vector<std::uint8_t> image = std::move(saved_);
    saved_.clear();
    staged_ = StagedImage::None;
    const auto header = CheckFirmwareImage(image);
    atRestart_.emplace(header->firmwareRevision,
                       header->revisionBase + " " + header->revisionSuffix);
  } else if (staged_ == StagedImage::Partial) {
    staged_ = StagedImage::None;
  }
  if (atRestart_) {
    firmware_ = atRestart_->first;
    revisionSet_ = atRestart_->second;
    atRestart_.reset();
    staged_ = StagedImage::Active;
  }
  spunUp_ = !description_.spinUpRequired;
  vendorMode_ = false;
}

}  // namespace sim
