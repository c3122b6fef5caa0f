// What the enumeration keeps, drops and logs, over simulated machines.
#include "tests/drives/drives_fixture.h"

namespace drives::test_support {
namespace {

using Enumeration = DrivesTest;

TEST_F(Enumeration, ProbesEveryNumberFrom0To15) {
  Load(R"({"drives": [{"number": 0}, {"number": 1}, {"number": 4}, {"number": 16}]})");
  EXPECT_EQ(Paths(Enumerate()),
            (std::vector<std::u16string>{u"\\\\.\\PhysicalDrive0", u"\\\\.\\PhysicalDrive1",
                                         u"\\\\.\\PhysicalDrive4"}));
  EXPECT_EQ(machine().OpenHandles(), 0);
}

TEST_F(Enumeration, AnEmptyMachineGivesNothingAndLogsNothing) {
  Load(R"({"drives": []})");
  EXPECT_TRUE(Enumerate().empty());
  EXPECT_EQ(Log(), u"");
}

TEST_F(Enumeration, BusTypesKeptAndRecorded) {
  Load(R"({"drives": [{"number": 0, "busType": 8}, {"number": 1, "busType": 17},
                      {"number": 2, "busType": 3}]})");
  const DriveList list = Enumerate();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->BusType, 3u);  // RAID is recorded as ATA
  EXPECT_EQ(list[1]->DrivePath, u"\\\\.\\PhysicalDrive2");
  EXPECT_EQ(Log(), u"");
}

TEST_F(Enumeration, UsbGoesStraightToSatAndSataFallsBackToIt) {
  Load(R"({"drives": [{"number": 0, "busType": 7},
      {"number": 1, "busType": 11, "faults": [{"on": "ata-pass-through", "ioctlError": 50}]}]})");
  const DriveList list = Enumerate();
  ASSERT_EQ(list.size(), 2u);
  int ataRequests[2] = {0, 0};
  for (const auto& line : Trace()) {
    for (int n = 0; n < 2; ++n) {
      if (line.rfind("drive" + std::to_string(n) + " code=0x4D02C", 0) == 0) ++ataRequests[n];
    }
  }
  EXPECT_EQ(ataRequests[0], 0);
  EXPECT_EQ(ataRequests[1], 1);  // the refused probe; SAT from then on
  EXPECT_TRUE(list[1]->IsVeltraxDrive);
  EXPECT_TRUE(list[1]->Updatable);
}

TEST_F(Enumeration, AScsiDriveIsDroppedAndLogged) {
  Load(R"({"drives": [{"number": 3, "busType": 1}]})");
  EXPECT_TRUE(Enumerate().empty());
  EXPECT_TRUE(LogHas(u"Identify failed.\r\n\r\nDrive Info :\r\nDrivePath = \\\\.\\PhysicalDrive3\r\n"
                     u"BusType   = 0x1\r\nModelNumber   = , , , \r\nSerialNumber   = \r\n"
                     u"WWN   = 0\r\nCurrent Firmware   = \r\nAvailable Firmware   = N/A\r\n"
                     u"Segmented Transfer Supported   = false\r\nTransfer Max   = 0x0\r\n"
                     u"Transfer Min   = 0x0\r\nDownload Microcode Supported   = false\r\n"
                     u"Updatable   = false\r\nDriveDevicePath   = \\Device\\Harddisk3\\DR3\r\n"
                     u"\r\nError Info :\r\nFile      = Drive\r\nLine      = 263\r\n"
                     u"Function  = CDrive::Init\r\nErrorCode = 0xfffff003\r\n\r\n"))
      << std::string(Log().begin(), Log().end());
  EXPECT_EQ(machine().OpenHandles(), 0);
}

TEST_F(Enumeration, ALinkThatCannotBeOpenedDropsTheDrive) {
  Load(R"({"drives": [{"number": 0, "linkOpenStatus": "0xC0000034"},
                      {"number": 1, "linkQueryStatus": "0xC0000022"}]})");
  EXPECT_TRUE(Enumerate().empty());
  EXPECT_TRUE(LogHas(u"Line      = 183\r\nFunction  = CDrive::Init\r\nErrorCode = 0xc0000034"));
  EXPECT_TRUE(LogHas(u"Line      = 175\r\nFunction  = CDrive::Init\r\nErrorCode = 0xc0000022"));
  EXPECT_EQ(machine().OpenHandles(), 0);
}

TEST_F(Enumeration, ATransportFailingTheSecondIdentifyDropsTheDrive) {
  Load(R"({"drives": [{"number": 0, "faults": [{"on": "ata-pass-through", "ioctlError": 31,
                                               "skip": 1}]}]})");
  EXPECT_TRUE(Enumerate().empty());
  EXPECT_TRUE(LogHas(u"Line      = 322\r\nFunction  = CDrive::GetDriveInformation\r\n"
                     u"ErrorCode = 0xfffff003"));
  EXPECT_EQ(machine().OpenHandles(), 0);
}

TEST_F(Enumeration, AFailingStorageQueryIsLoggedAndSkipped) {
  Load(R"({"drives": [{"number": 2, "faults": [{"on": "storage-query", "ioctlError": 1}]}]})");
  EXPECT_TRUE(Enumerate().empty());
  EXPECT_EQ(Log(), u"IOCTL_STORAGE_QUERY_PROPERTY failed, drivePath = \\\\.\\PhysicalDrive2, "
                   u"error = 0x1\r\n");
}

TEST_F(Enumeration, NoDriveIsLeftInVendorMode) {
  Load(R"({"drives": [
      {"number": 0, "vscLevel": 4, "faults": [{"on": "vendor:data", "status": 81, "error": 4}]},
      {"number": 1, "vscLevel": 5, "faults": [{"on": "vendor:data", "status": 81, "error": 4,
                                                "skip": 1}]},
      {"number": 2, "vscLevel": 5},
      {"number": 3, "vscLevel": 4}]})");
  const DriveList list = Enumerate();
  EXPECT_EQ(Paths(list), (std::vector<std::u16string>{u"\\\\.\\PhysicalDrive2",
                                                       u"\\\\.\\PhysicalDrive3"}));
  for (int n = 0; n < 4; ++n) {
    EXPECT_FALSE(machine().Drive(n)->device().vendorModeOn()) << n;
  }
  EXPECT_TRUE(LogHas(u"DrivePath = \\\\.\\PhysicalDrive0"));
  EXPECT_TRUE(LogHas(u"Line      = 504\r\nFunction  = CDrive::FillVxData\r\nErrorCode = 0xfffff007"));
}

}  // namespace
}  // namespace drives::test_support
