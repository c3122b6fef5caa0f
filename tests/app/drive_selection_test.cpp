// The drive page's decisions over the default simulated machine: groups,
// item texts, detail fields, the selection and its buttons, and the
// storage-controller check behind Next.
#include "app/wizard/drive_selection.h"

#include <gtest/gtest.h>

#include "base/settings.h"
#include "os/constants.h"
#include "sim/machine_description.h"
#include "tests/drives/drives_fixture.h"
#include "update/amd_controller.h"

namespace app {
namespace {

using drives::test_support::DrivesTest;

class DriveSelectionTest : public DrivesTest {
 protected:
  void SetUp() override {
    Load(sim::DefaultMachineJson());
    list = Enumerate();
    base::Settings().nativeMode = false;
    base::Settings().closeAllowed = true;
  }
  drives::DriveList list;
};

TEST_F(DriveSelectionTest, GroupsFollowTheFirstOccurrenceOfEachBusType) {
  ASSERT_EQ(list.size(), 6u) << "the SCSI drive has no transport";
  const std::vector<DriveGroup> groups = GroupDrives(list);
  std::vector<std::u16string> labels;
  std::vector<std::vector<std::uint32_t>> members;
  for (const auto& g : groups) {
    labels.push_back(g.label);
    members.push_back(g.drives);
  }
  // SATA drives 0, 2, 3, 5; USB 1; the ATA-attached foreign drive 4, a
  // group of its own under the same label.
  EXPECT_EQ(labels, (std::vector<std::u16string>{u"ATA/SATA", u"USB", u"ATA/SATA"}));
  EXPECT_EQ(members, (std::vector<std::vector<std::uint32_t>>{{0, 2, 3, 5}, {1}, {4}}));
  EXPECT_EQ(GroupLabel(1), u"SCSI");
  EXPECT_EQ(GroupLabel(9), u"Unknown");
  EXPECT_EQ(DriveItemText(4, *list[4]), u"Drive 4: OTHERDISK 2000");
}

TEST_F(DriveSelectionTest, DetailsShowTheDriveOrNotApplicable) {
  const DriveDetails drive = DetailsOf(list, 0);
  EXPECT_EQ(drive.model, u"VX7221-500G-A");
  EXPECT_EQ(drive.serial, u"VX10000001");
  EXPECT_EQ(drive.firmware, list[0]->CurrentFirmwareText()) << "not trimmed";
  EXPECT_EQ(drive.message, u"This drive qualifies for the update.");
  for (const std::uint32_t none : {kGroupItem, kFirstNonDrive, std::uint32_t{7}}) {
    const DriveDetails group = DetailsOf(list, none);
    EXPECT_EQ(group.model, u"N/A");
    EXPECT_EQ(group.serial, u"N/A");
    EXPECT_EQ(group.firmware, u"N/A");
    EXPECT_EQ(group.message, u"Please select the drive(s) to upgrade.");
  }
}

TEST_F(DriveSelectionTest, OnlyQualifyingDrivesAreSelectedAndNextFollowsTheSelection) {
  DriveSelection selection;
  EXPECT_EQ(selection.Buttons(), kButtonBack);
  using Box = DriveSelection::Box;
  EXPECT_EQ(selection.CheckChanged(list, kGroupItem, true), Box::Remove) << "groups have no box";
  EXPECT_EQ(selection.CheckChanged(list, 2, true), Box::Remove) << "already updated";
  EXPECT_EQ(selection.CheckChanged(list, 0, true), Box::Keep);
  EXPECT_EQ(selection.CheckChanged(list, 1, true), Box::Keep);
  EXPECT_EQ(selection.Buttons(), kButtonBack | kButtonNext);
  EXPECT_EQ(selection.selection().size(), 2u);
  EXPECT_EQ(selection.CheckChanged(list, 0, false), Box::Keep);
  EXPECT_EQ(selection.CheckChanged(list, 1, false), Box::Keep);
  EXPECT_EQ(selection.Buttons(), kButtonBack);
  EXPECT_TRUE(selection.selection().empty());
}

TEST_F(DriveSelectionTest, TwoDrivesWithOneSerialShareOneEntry) {
  Load(R"({"drives": [{"number": 0, "serial": "VX1"}, {"number": 1, "serial": "VX1"}]})");
  list = Enumerate();
  DriveSelection selection;
  ASSERT_EQ(selection.CheckChanged(list, 0, true), DriveSelection::Box::Keep);
  ASSERT_EQ(selection.CheckChanged(list, 1, true), DriveSelection::Box::Keep);
  ASSERT_EQ(selection.selection().size(), 1u);
  EXPECT_EQ(selection.selection().begin()->second, list[1]) << "the later tick wins";
  selection.CheckChanged(list, 0, false);
  EXPECT_TRUE(selection.selection().empty());
}

// A drive recorded on the RAID bus admits no second one; the enumeration
// records none so, so the record is set by hand here.
TEST_F(DriveSelectionTest, NextToARaidDriveNoOtherIsTicked) {
  list[1]->BusType = 8;
  DriveSelection selection;
  ASSERT_EQ(selection.CheckChanged(list, 1, true), DriveSelection::Box::Keep);
  EXPECT_EQ(selection.CheckChanged(list, 0, true), DriveSelection::Box::Untick);
  EXPECT_EQ(selection.selection().size(), 1u);
  const auto boxes = sim_->fake().messages.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text.rfind(u"Only one RAID drive can be updated at a time.", 0), 0u);
  EXPECT_EQ(GroupLabel(8), u"RAID");
}

TEST_F(DriveSelectionTest, TheControllerCheckAsksOnlyForAnAmdDriverWithoutItsFeature) {
  struct Case {
    const char* name;
    const char* machine;
    std::vector<int> answers;
    std::int32_t result;
    std::size_t boxes;
    bool restarted;
  } cases[] = {
      {"no AMD controller", R"({"controllers": ["storahci"], "drives": []})", {}, 0, 0, false},
      {"AMD, No", R"({"controllers": ["amdsata"], "drives": []})", {os::kIdNo}, -1, 1, false},
      {"AMD, Yes", R"({"controllers": ["amdsata"], "drives": []})", {os::kIdYes, os::kIdOk}, -1, 2,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.machine);
    auto& messages = sim_->fake().messages;
    messages.answers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(CheckStorageController(), c.result);
    const auto boxes = messages.Boxes();
    ASSERT_EQ(boxes.size(), c.boxes);
    if (!boxes.empty()) {
      EXPECT_EQ(boxes[0].type, os::kMbYesNo | os::kMbIconExclamation);
      EXPECT_EQ(boxes[0].text.rfind(u"Update wizard must enable some HDD driver features", 0), 0u);
    }
    if (boxes.size() == 2) {
      EXPECT_EQ(boxes[1].type, os::kMbOk | os::kMbIconInformation);
    }
    EXPECT_EQ(!sim_->simulated().power().Restarts().empty(), c.restarted);
    EXPECT_EQ(update::IsAmdSataFeatureEnabled(u"amdsata"), c.restarted);
    EXPECT_TRUE(base::Settings().closeAllowed);
  }
}

}  // namespace
}  // namespace app
