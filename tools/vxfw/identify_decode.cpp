#include "tools/vxfw/identify_decode.h"

#include "base/text.h"
#include "ata/device_info.h"
#include "ata/identify_map.h"
#include "tools/vxfw/stored_identify_drive.h"
#include "tools/vxfw/utf8.h"
#include "tools/vxfw/vxfw.h"

namespace vxfw {
namespace {

// Drive text is 8-bit in the ANSI code page.
std::string Text(const std::string& drive) { return ToUtf8(base::Widen(drive)); }

}  // namespace

nlohmann::ordered_json DecodeIdentify(const IdentifyBytes& block) {
  StoredIdentifyDrive drive(block);
  tessel::AtaDeviceInfo info(drive);
  const tessel::AtaIdentifyDeviceMap map(block.data());
  nlohmann::ordered_json j;
  j["model"] = Text(info.GetModelNumber());
  j["serial"] = Text(info.GetSerialNumber());
  j["firmware"] = Text(info.GetFirmwareRevision());
  j["modelTrimmed"] = Text(info.GetModelNumberTrimmed());
  j["serialTrimmed"] = Text(info.GetSerialNumberTrimmed());
  j["firmwareTrimmed"] = Text(info.GetFirmwareRevisionTrimmed());
  j["userAddressableSectors"] = info.GetUserAddressableSectors();
  j["logicalSectorSize"] = info.GetLogicalSectorSize();
  j["capacity"] = info.GetCapacity();
  j["capacityText"] = info.GetCapacityText();
  j["worldWideName"] = Hex64(info.GetWorldWideName());
  j["veltrax"] = info.IsVeltraxDevice();
  j["familyId"] = info.GetFamilyId();
  j["vscLevel"] = map.VendorChannelLevel();
  j["downloadMicrocode"] = map.DownloadMicrocodeSupported();
  j["segmentedDownload"] = map.SegmentedDownloadSupported();
  j["transferMinBlocks"] = map.DownloadMinimumBlocks();
  j["transferMaxBlocks"] = map.DownloadMaximumBlocks();
  j["securitySupported"] = map.SecuritySupported();
  j["securityEnabled"] = map.SecurityEnabled();
  return j;
}

}  // namespace vxfw
