#include "app/wizard/drive_selection.h"

#include "app/message_box.h"
#include "app/power.h"
#include "base/format.h"
#include "base/settings.h"
#include "base/string_table.h"
#include "base/text.h"
#include "os/constants.h"
#include "os/ioctl.h"
#include "update/amd_controller.h"
#include "update/native_app_helper.h"

namespace app {

namespace {

constexpr os::UINT kSelectDrives = 107;
constexpr os::UINT kOneRaidDrive = 126;
constexpr os::UINT kEnableFeature = 127;
constexpr os::UINT kSaveAndRestart = 128;

const drives::CDrive* DriveOf(const drives::DriveList& list, std::uint32_t value) {
  if (value >= kFirstNonDrive || value >= list.size()) return nullptr;
  return list[value].get();
}

}  // namespace

std::u16string GroupLabel(std::uint32_t busType) {
  switch (busType) {
    case os::kBusTypeScsi:
      return u"SCSI";
    case os::kBusTypeAta:
    case os::kBusTypeSata:
      return u"ATA/SATA";
    case os::kBusTypeUsb:
      return u"USB";
    case os::kBusTypeRaid:
      return u"RAID";
    default:
      return u"Unknown";
  }
}

std::vector<DriveGroup> GroupDrives(const drives::DriveList& list) {
  std::vector<DriveGroup> groups;
  for (std::uint32_t i = 0; i < list.size(); ++i) {
    const std::uint32_t busType = list[i]->BusType;
    auto it = groups.begin();
    while (it != groups.end() && it->busType != busType) ++it;
    if (it == groups.end()) {
      groups.push_back({busType, GroupLabel(busType), {}});
      it = groups.end() - 1;
    }
    it->drives.push_back(i);
  }
  return groups;
}

std::u16string DriveItemText(std::uint32_t index, const drives::CDrive& drive) {
  return base::Format(u"Drive %u: ", index) + base::TrimWhiteSpace(drive.ModelText());
}

DriveDetails DetailsOf(const drives::DriveList& list, std::uint32_t value) {
  const drives::CDrive* drive = DriveOf(list, value);
  if (drive == nullptr) {
    DriveDetails none{u"N/A", u"N/A", u"N/A", {}};
    base::LoadAppString(kSelectDrives, none.message);
    return none;
  }
  return {base::TrimWhiteSpace(drive->ModelText()), base::TrimWhiteSpace(drive->SerialNumberText()),
          drive->CurrentFirmwareText(), drive->UpdateMessage};
}

DriveSelection::Box DriveSelection::CheckChanged(const drives::DriveList& list,
                                                 std::uint32_t value, bool ticked) {
  const drives::CDrive* drive = DriveOf(list, value);
  if (drive == nullptr || !drive->Updatable) return Box::Remove;
  const std::u16string key = drive->SerialNumberText();
  if (!ticked) {
    selection_.erase(key);
    return Box::Keep;
  }
  for (const auto& [selectedKey, selected] : selection_) {
    if (selectedKey != key && selected->BusType == os::kBusTypeRaid) {
      ShowStringMessage(kOneRaidDrive, os::kMbOk);
      return Box::Untick;
    }
  }
  selection_[key] = list[value];
  return Box::Keep;
}

std::uint32_t DriveSelection::Buttons() const {
  return selection_.empty() ? kButtonBack : kButtonBack | kButtonNext;
}

std::int32_t CheckStorageController() {
  auto& settings = base::Settings();
  if (settings.nativeMode) return 0;
  const std::optional<std::u16string> controller = update::FindAmdStorageController();
  if (!controller || update::IsAmdSataFeatureEnabled(*controller)) return 0;
  if (ShowStringMessage(kEnableFeature, os::kMbYesNo | os::kMbIconExclamation) != os::kIdYes) {
    return -1;
  }
  settings.closeAllowed = false;
  update::CNativeAppHelper().AddAMDDriverRegistryValues();
  ShowStringMessage(kSaveAndRestart, os::kMbOk | os::kMbIconInformation);
  SystemReboot();
  settings.closeAllowed = true;
  return -1;
}

}  // namespace app
