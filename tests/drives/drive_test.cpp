// One drive's record: capabilities, gates, the Veltrax test, the vendor
// data and the verdict.
#include "drives/update_package.h"
#include "tests/drives/drives_fixture.h"

namespace drives::test_support {
namespace {

using DriveRecord = DrivesTest;

// The one drive of a machine whose drive 0 is `drive` (JSON members).
CDrivePtr Only(DriveRecord& test, const std::string& drive,
               const std::string& machine = "") {
  test.Load("{" + machine + R"("drives": [{"number": 0, )" + drive + "}]}");
  const DriveList list = test.Enumerate();
  EXPECT_EQ(list.size(), 1u);
  return list.empty() ? nullptr : list[0];
}

TEST_F(DriveRecord, IdentityFieldsAreTheRawAtaStrings) {
  const CDrivePtr d = Only(*this, R"("model": "VX7221-500G-A", "serial": "VX1", "wwn": "0x5A1B2C3000000A01")");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->ModelText(), u"VX7221-500G-A" + std::u16string(27, u' '));
  EXPECT_EQ(d->SerialNumberText(), u"VX1" + std::u16string(17, u' '));
  EXPECT_EQ(d->CurrentFirmwareText(), u"02.01P02");
  EXPECT_EQ(d->WWN, 0x5A1B2C3000000A01u);
  EXPECT_EQ(d->DriveDevicePath, u"\\Device\\Harddisk0\\DR0");
  EXPECT_TRUE(d->DownloadMicrocodeSupported);
  EXPECT_EQ(d->ModelSuffixHead, "50");
  EXPECT_EQ(d->ModelSuffixMiddle, "0G-");
  EXPECT_EQ(d->ModelSuffixTail, "-A");
}

TEST_F(DriveRecord, SegmentedTransferSizes) {
  struct Case {
    std::string drive;
    std::string machine;
    std::uint32_t min, max;
    const char16_t* message;  // null: goes on to qualification
  } cases[] = {
      {R"("identifyWords": {"234": 0, "235": 65535})", "", 512, 512, nullptr},
      {R"("identifyWords": {"234": 8, "235": 256})", "", 4096, 65536, nullptr},
      {R"("identifyWords": {"234": 8, "235": 256})", R"("windows": {"major": 5},)", 4096, 65536,
       u"Current OS does not support required transfer rate."},
      {R"("identifyWords": {"234": 1, "235": 64})", R"("windows": {"major": 5},)", 512, 512,
       nullptr},
      {R"("identifyWords": {"234": 8, "235": 256})", R"("windows": {"failCode": 87},)", 4096,
       65536, nullptr},
      {R"("segmented": false)", "", 0, 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.drive + c.machine);
    const CDrivePtr d = Only(*this, c.drive, c.machine);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->TransferMin, c.min);
    EXPECT_EQ(d->TransferMax, c.max);
    EXPECT_EQ(d->SegmentedTransferSupported, c.min != 0);
    if (c.message != nullptr) {
      EXPECT_EQ(d->UpdateMessage, c.message);
      EXPECT_FALSE(d->Updatable);
      EXPECT_TRUE(LogHas(u"TransferMin 0x1000\r\n"));
    } else {
      EXPECT_TRUE(d->Updatable);
    }
    base::CloseLog();
  }
}

TEST_F(DriveRecord, SecurityEnabledStopsEvenAForeignDrive) {
  const CDrivePtr open = Only(*this, R"("securitySupported": true)");
  ASSERT_NE(open, nullptr);
  EXPECT_TRUE(open->Updatable);
  base::CloseLog();
  const CDrivePtr locked = Only(*this, R"("model": "OTHER", "serial": "S1",
      "securitySupported": true, "securityEnabled": true)");
  ASSERT_NE(locked, nullptr);
  EXPECT_EQ(locked->UpdateMessage,
            u"Drive security enabled (BIOS hard drive password or drive encryption enabled), "
            u"please disable drive security and try again.");
  EXPECT_TRUE(LogHas(u"SecuritySupported 0x1, SecurityEnabled = 1\r\n"));
}

TEST_F(DriveRecord, TheVeltraxTest) {
  struct Case {
    std::string drive;
    bool veltrax;
  } cases[] = {
      {R"("model": "VX7221", "serial": "S1", "wwn": "0x5000CCA000000001")", true},
      {R"("model": "  VX7221", "serial": "S1", "wwn": "0x5000CCA000000001")", false},
      {R"("model": "OTHER", "serial": "VX1", "wwn": 0)", true},
      {R"("model": "OTHER", "serial": "S1", "wwn": "0x5C3D4E5000000001")", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.drive);
    const CDrivePtr d = Only(*this, c.drive);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->IsVeltraxDrive, c.veltrax);
    if (!c.veltrax) {
      EXPECT_EQ(d->UpdateMessage, u"This is not a Veltrax drive");
    }
    base::CloseLog();
  }
}

TEST_F(DriveRecord, QualificationVerdicts) {
  constexpr char16_t kQualifies[] = u"This drive qualifies for the update.";
  constexpr char16_t kUpdated[] = u"Drive already updated.\n";
  constexpr char16_t kNotApplicable[] = u"Drive update not applicable.\n";
  struct Case {
    std::string drive;
    const char16_t* message;
  } cases[] = {
      {R"("revisionSet": "02.01P02 .18.3C.19P")", kQualifies},
      {R"("revisionSet": "02.01P02 .1A.3C.1BP", "vscLevel": 5)", kQualifies},
      {R"("revisionSet": "02.01P02 .30.3C.31P")", kUpdated},
      {R"("revisionSet": "02.01p02 .18.3c.19p")", kQualifies},
      {R"("revisionSet": "02.01P02 .1A", "vscLevel": 5)", kQualifies},
      {R"("revisionSet": "02.01P02 .18.3C.19PX", "vscLevel": 5)", kQualifies},
      {R"("revisionSet": "02.01")", kUpdated},
      {R"("revisionSet": "02.01P02 .18.3C.19P", "configId": 2446)", kNotApplicable},
      {R"("revisionSet": "02.01P02 .18.3C.19P", "familyId": 667)", kNotApplicable},
      {R"("revisionSet": "02.01P02 .55.3C.19P")", kNotApplicable},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.drive);
    const CDrivePtr d = Only(*this, c.drive);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->UpdateMessage, c.message);
    EXPECT_EQ(d->Updatable, c.message == kQualifies);
    EXPECT_EQ(d->AvailableFirmwareFilePath,
              c.message == kQualifies ? u"C:\\app\\vx7221.bin" : u"");
    EXPECT_EQ(d->AvailableFirmwareRevision, u"N/A");
    base::CloseLog();
  }
}

TEST_F(DriveRecord, AnUnsupportedChannelLevelFailsBeforeAnyVendorCommand) {
  Load(R"({"drives": [{"number": 0, "vscLevel": 3}]})");
  EXPECT_TRUE(Enumerate().empty());
  EXPECT_TRUE(LogHas(u"Line      = 504\r\nFunction  = CDrive::FillVxData"));
  // Storage query, the probe's IDENTIFY and the cached IDENTIFY: nothing more.
  EXPECT_EQ(Trace().size(), 3u);
}

TEST_F(DriveRecord, ALevel5RecordFailureKeepsTheVendorInfoAlreadyRead) {
  Load(R"({"drives": [{"number": 0, "vscLevel": 5,
      "faults": [{"on": "vendor:data", "status": 81, "error": 4, "skip": 1}]}]})");
  sim::SimDrive* simDrive = machine().Drive(0);
  // The drive object, as the enumeration builds it, kept to look at.
  const os::DeviceHandle h = sim_->OpenDrive(0);
  CDrive drive(h, u"\\\\.\\PhysicalDrive0", 11);
  machine().CloseHandle(h);
  const auto status = drive.GetDriveInformation();
  EXPECT_FALSE(base::IsSuccess(status));
  EXPECT_EQ(status->line, 504);
  EXPECT_EQ(status->code, 0xFFFFF007u);
  EXPECT_NE(drive.VendorInfo, nullptr);
  EXPECT_EQ(drive.ModelNumberTrimmed, "VX7221-500G-A");
  EXPECT_FALSE(simDrive->device().vendorModeOn());
}

TEST_F(DriveRecord, ModelPartsAreCutAfterTheFirstDash) {
  struct Case {
    const char* model;
    const char *head, *middle, *tail;
  } cases[] = {
      {"VX-00XYZ0", "00", "XYZ", "Z0"},
      {"VX-1234", "12", "34", "34"},
      {"VX7221", "", "", ""},
      {"VX-1", "1", "", "-1"},
      {"VX-", "", "", "X-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    const CDrivePtr d = Only(*this, std::string(R"("model": ")") + c.model + "\"");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->ModelSuffixHead, c.head);
    EXPECT_EQ(d->ModelSuffixMiddle, c.middle);
    EXPECT_EQ(d->ModelSuffixTail, c.tail);
    base::CloseLog();
  }
}

TEST(MatchPattern, WalksTheCommonLength) {
  struct Case {
    const char* value;
    const char* pattern;
    bool match;
  } cases[] = {
      {"02.01P02", "02.01P02", true},  {"02.01p02", "02.01P02", true},
      {".1A", ".1A.3C.1BP", true},     {"", ".30.3C.31P", true},
      {".18.3C.19PXX", ".18.3C.19P", true}, {"02.01P03", "02.01P02", false},
      {"12345", "1?3*x", true},        {"A.B", "A?B", true},
      {"A.B", "AxB", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchPattern(c.value, c.pattern) == 0, c.match) << c.value << " " << c.pattern;
  }
  EXPECT_LT(MatchPattern("02.01P01", "02.01P02"), 0);
}

}  // namespace
}  // namespace drives::test_support
