// The vendor half of the drive record: the physical-parameters block read
// through the vendor-specific channel, and the verdict of the package.
#include "base/log.h"
#include "base/settings.h"
#include "base/string_table.h"
#include "base/text.h"
#include "ata/exception.h"
#include "ata/identify_map.h"
#include "ata/vendor_mode.h"
#include "ata/vsc_interface.h"
#include "drives/drive.h"
#include "drives/update_package.h"

namespace drives {

namespace {

constexpr char16_t kFile[] = u"Drive";

// Where CDrive::FillVxData records its failures.
namespace site {
constexpr std::int32_t kFillVxDataEntry = 490;
constexpr std::int32_t kNoTransport = 494;
constexpr std::int32_t kVendorReadFailed = 504;
}  // namespace site
constexpr char16_t kFillVxData[] = u"CDrive::FillVxData";
constexpr std::uint32_t kNoVendorInfo = 0xFFFFF007u;
constexpr std::uint32_t kBlock = 512;

[[noreturn]] void UnsupportedLevel(std::int32_t level) {
  throw tessel::Exception(tessel::ErrorNotImplemented,
                          "unsupported vsc implementation level", level);
}

bool Matches(const std::string& value, const char* pattern) {
  return MatchPattern(value.c_str(), pattern) == 0;
}

}  // namespace

base::ErrorInfoPtr CDrive::FillVxData() {
  if (!base::IsSuccess(Status)) return Status;
  auto result = base::MakeErrorInfo(kFile, site::kFillVxDataEntry, kFillVxData);
  if (AtaTransport == nullptr) {
    result->Fail(kNoVendorInfo, kFile, site::kNoTransport, kFillVxData);
    return result;
  }
  try {
    VendorInfo = CreateVendorInfo();
    ModelNumberTrimmed = VendorInfo->GetModelNumberTrimmed();
    CutModelParts();
    FirmwareRevisionSet = VendorInfo->GetFirmwareRevisionSet();
    const auto space = FirmwareRevisionSet.find(' ');
    if (space != std::string::npos) {
      RevisionBase = FirmwareRevisionSet.substr(0, space);
      RevisionSuffix = FirmwareRevisionSet.substr(space + 1);
    }
    FamilyId = VendorInfo->GetFamilyId();
    ConfigId = VendorInfo->GetConfigId();
  } catch (const tessel::Exception& failure) {
    // The error block says where; this line says which step of the
    // exchange failed.
    if (base::IsLogOpen()) {
      base::WriteLogLine(u"Vendor data of %s not read: %s", DrivePath,
                         base::Widen(failure.message()));
    }
    result->Fail(kNoVendorInfo, kFile, site::kVendorReadFailed, kFillVxData);
  }
  return result;
}

tessel::DisableFailureReport CDrive::DisableFailureLog() const {
  return [path = DrivePath](int attempt, const tessel::Exception& failure) {
    if (!base::IsLogOpen()) return;
    base::WriteLogLine(u"Leaving vendor mode failed on %s (attempt %d of %d): %s",
                       path, attempt, tessel::kDisableAttempts,
                       base::Widen(failure.message()));
  };
}

// The physical-parameters block, read in one vendor-mode exchange.
std::unique_ptr<tessel::VxDeviceInfo> CDrive::CreateVendorInfo() {
  tessel::AtaInterface& drive = *AtaTransport;
  std::unique_ptr<tessel::VscInterface> channel = drive.CreateVsc();
  if (channel == nullptr) {
    UnsupportedLevel(tessel::AtaIdentifyDeviceMap(drive.GetIdentifyData()).VendorChannelLevel());
  }
  const int level = channel->GetLevel();
  std::uint8_t block[kBlock] = {};
  tessel::InVendorMode(*channel, drive, [&] {
    channel->ReadPhysParams(block, kBlock);
    tessel::ThrowIfCommandFailed(drive.GetTaskfile(), "read phy params");
  }, DisableFailureLog());
  channel.reset();
  const tessel::VscPhysParam1v2Map map(block);
  if (level == 4) return std::make_unique<tessel::VxVscImpl4DeviceInfo>(drive, map);
  if (level == 5) {
    return std::make_unique<tessel::VxVscImpl5AtaDeviceInfo>(drive, map, DisableFailureLog());
  }
  UnsupportedLevel(level);
}

// After the first "-": two characters of head, a middle of three (two when
// fewer than five characters follow the "-"), and the last two as tail.
void CDrive::CutModelParts() {
  const std::string& model = ModelNumberTrimmed;
  const auto dash = model.find('-');
  if (dash == std::string::npos) return;
  const std::size_t n = model.size();
  auto part = [&model](std::size_t from, std::size_t count) {
    return from >= model.size() ? std::string() : model.substr(from, count);
  };
  ModelSuffixHead = part(dash + 1, 2);
  ModelSuffixTail = n >= 2 ? model.substr(n - 2) : model;
  ModelSuffixMiddle = part(dash + 3, n - dash - 1 >= 5 ? 3 : 2);
}

void CDrive::Qualify() {
  const auto notApplicable = [this] {
    UpdateMessage = base::Widen("Drive update not applicable.\n");
    Updatable = false;
  };
  if (FamilyId != package::kFamilyId || ConfigId != package::kConfigId) {
    notApplicable();
    return;
  }
  for (const auto& row : package::kAlreadyUpdated) {
    if (Matches(RevisionBase, row.basePattern) && Matches(RevisionSuffix, row.suffixPattern)) {
      UpdateMessage = base::Widen("Drive already updated.\n");
      return;
    }
  }
  for (const auto& row : package::kUpdates) {
    if (Matches(RevisionBase, row.basePattern) && Matches(RevisionSuffix, row.suffixPattern)) {
      base::LoadAppString(base::IDS_QUALIFIES, UpdateMessage);
      AvailableFirmwareFilePath = base::Settings().moduleFolder + u"\\" + row.firmwareFile;
      Updatable = true;
      return;
    }
  }
  notApplicable();
}

}  // namespace drives
