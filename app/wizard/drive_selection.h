// What the drive selection page decides without a window: the tree's
// groups and item texts, the detail fields of a selected item, the
// selection and the wizard buttons it allows, and the storage-controller
// check behind Next. The page maps these onto its tree view.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drives/drive.h"
#include "update/update_run.h"

namespace app {

// A tree item's value: a drive's index in the list, or this for a group.
constexpr std::uint32_t kGroupItem = 0xFFFFFFFFu;
// Values from here on name no drive.
constexpr std::uint32_t kFirstNonDrive = 0xFFFFFFF0u;

constexpr std::uint32_t kButtonBack = 0x1;  // PSWIZB_BACK
constexpr std::uint32_t kButtonNext = 0x2;  // PSWIZB_NEXT

struct DriveGroup {
  std::uint32_t busType = 0;
  std::u16string label;
  std::vector<std::uint32_t> drives;  // indexes into the list, in list order
};

// "SCSI", "ATA/SATA", "USB", "RAID" or "Unknown".
std::u16string GroupLabel(std::uint32_t busType);

// Groups in the order their bus types first occur in the list.
std::vector<DriveGroup> GroupDrives(const drives::DriveList& list);

// "Drive %u: " and the model, trimmed.
std::u16string DriveItemText(std::uint32_t index, const drives::CDrive& drive);

struct DriveDetails {
  std::u16string model;
  std::u16string serial;
  std::u16string firmware;
  std::u16string message;
};

// What the detail fields show for the item of value `value`: the drive's
// model and serial trimmed, its firmware as the drive gives it, and its
// verdict; "N/A" three times and string 107 for anything that is no drive.
DriveDetails DetailsOf(const drives::DriveList& list, std::uint32_t value);

// The ticked drives by untrimmed serial number: what the update takes.
class DriveSelection final : public update::SelectionSource {
 public:
  enum class Box {
    Keep,    // the check box stays as the user left it
    Remove,  // a group, or a drive that does not qualify: unticked, no box
    Untick,  // a second drive next to a RAID drive: the tick is undone
  };
  // The check box of item `value` shows `ticked` now. Only one drive may be
  // updated while a RAID-attached one is selected: another tick is undone
  // after string 126. The enumeration records RAID-attached drives with
  // the ATA bus type, so that rule never acts today.
  Box CheckChanged(const drives::DriveList& list, std::uint32_t value, bool ticked);
  void Clear() { selection_.clear(); }
  // Back, and Next while anything is ticked.
  std::uint32_t Buttons() const;

  update::Selection selection() const override { return selection_; }

 private:
  update::Selection selection_;
};

// Next's storage-controller check: 0 to go on, -1 to stay (after asking
// to switch the AMD SATA driver's feature on and restarting).
std::int32_t CheckStorageController();

}  // namespace app
