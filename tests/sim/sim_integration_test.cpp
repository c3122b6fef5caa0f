// The ATA library against the simulated drives, through both transports.
#include <gtest/gtest.h>

#include <fstream>

#include "ata/ata_pass_through_drive.h"
#include "ata/exception.h"
#include "ata/sat_pass_through_drive.h"
#include "ata/vsc_interface.h"
#include "ata/vx_device_info.h"
#include "os/constants.h"
#include "os/ioctl.h"
#include "sim/firmware_image.h"
#include "tests/sim/sim_fixture.h"

namespace sim {
namespace {

using test_support::DriveEntry;
using test_support::MachineWith;
using test_support::SimSystem;

DriveDescription Level(int level) {
  DriveDescription d;
  d.vscLevel = static_cast<std::uint8_t>(level);
  return d;
}

// The physical-parameters block through the channel, as enumeration reads it.
tessel::VscPhysParam1v2Map ReadPhysParams(tessel::AtaDrive& drive) {
  auto channel = drive.CreateVsc();
  EXPECT_NE(channel, nullptr);
  std::uint8_t block[512] = {};
  channel->Enable();
  EXPECT_FALSE(tessel::IsCommandFailure(drive.GetTaskfile()));
  channel->ReadPhysParams(block, 512);
  EXPECT_FALSE(tessel::IsCommandFailure(drive.GetTaskfile()));
  channel->Disable();
  EXPECT_FALSE(tessel::IsCommandFailure(drive.GetTaskfile()));
  return tessel::VscPhysParam1v2Map(block);
}

TEST(SimIntegration, IdentifyThroughBothTransports) {
  DriveDescription spinning;
  spinning.spinUpRequired = true;
  spinning.model = "VX7221-2T0-A";
  SimSystem sim(MachineWith({DriveEntry(0, os::kBusTypeSata, spinning),
                             DriveEntry(1, os::kBusTypeUsb)}));
  tessel::AtaDriveWinPassThrough sata(sim.OpenDrive(0));
  tessel::AtaDeviceInfo sataInfo(sata);
  EXPECT_EQ(sataInfo.GetModelNumberTrimmed(), "VX7221-2T0-A");
  EXPECT_EQ(sataInfo.GetUserAddressableSectors(), 976773168u);
  EXPECT_EQ(sataInfo.GetFamilyId(), 666);

  tessel::SatDrivePassThrough usb(sim.OpenDrive(1));
  tessel::AtaDeviceInfo usbInfo(usb);
  EXPECT_EQ(usbInfo.GetSerialNumberTrimmed(), "VX00000001");
  EXPECT_EQ(usbInfo.GetFirmwareRevisionTrimmed(), "02.01P02");
  EXPECT_FALSE(tessel::IsCommandFailure(usb.GetTaskfile()));
}

TEST(SimIntegration, AUsbDriveRefusesTheAtaPassThrough) {
  SimSystem sim(MachineWith({DriveEntry(0, os::kBusTypeUsb)}));
  tessel::AtaDriveWinPassThrough drive(sim.OpenDrive(0));
  std::uint8_t buffer[512];
  try {
    drive.IdentifyDevice(buffer, 512);
    FAIL() << "no exception";
  } catch (const tessel::Exception& e) {
    EXPECT_EQ(e.message(), "DeviceIoControl returned FALSE");
    EXPECT_EQ(e.detail(), 50);
  }
}

TEST(SimIntegration, Level4DataTableAndRevisionSet) {
  DriveDescription d = Level(4);
  d.revisionSet = "02.01P02 .1A.3C.1BP";
  SimSystem sim(MachineWith({DriveEntry(0, os::kBusTypeSata, d)}));
  tessel::AtaDriveWinPassThrough drive(sim.OpenDrive(0));
  tessel::VxVscImpl4DeviceInfo info(drive, ReadPhysParams(drive));
  EXPECT_EQ(info.GetFamilyId(), 666);
  EXPECT_EQ(info.GetConfigId(), 2445);
  EXPECT_EQ(info.GetFirmwareRevisionSet(), "02.01P02 .1A.3C.1BP");
  EXPECT_FALSE(sim.machine().Drive(0)->device().vendorModeOn());
}

TEST(SimIntegration, Level5InformationRecordsOverSat) {
  for (bool afterHeader : {false, true}) {
    for (std::uint16_t version : {0x0100, 0x0200}) {
      DriveDescription d = Level(5);
      d.descriptorAfterHeader = afterHeader;
      d.responseVersion = version;
      d.familyId = 0x0123;
      SimSystem sim(MachineWith({DriveEntry(3, os::kBusTypeUsb, d)}));
      tessel::SatDrivePassThrough drive(sim.OpenDrive(3));
      tessel::VxVscImpl5AtaDeviceInfo info(drive, ReadPhysParams(drive));
      EXPECT_EQ(info.GetFamilyId(), 0x0123);
      EXPECT_EQ(info.GetFirmwareRevisionSet(), "02.01P02 .18.3C.19P");
      EXPECT_FALSE(sim.machine().Drive(3)->device().vendorModeOn());
    }
  }
}

// A revision set too long for one 512-byte record sector is answered in
// as many sectors as its entries need, and read back whole.
TEST(SimIntegration, ALongRevisionSetSpansSeveralRecordSectors) {
  DriveDescription d = Level(5);
  const std::string suffix = "." + std::string(300, 'A') + "P";
  d.revisionSet = "02.01P02 " + suffix;
  SimSystem sim(MachineWith({DriveEntry(3, os::kBusTypeUsb, d)}));
  tessel::SatDrivePassThrough drive(sim.OpenDrive(3));
  tessel::VxVscImpl5AtaDeviceInfo info(drive, ReadPhysParams(drive));
  EXPECT_EQ(info.GetFirmwareRevisionSet(), d.revisionSet);
  EXPECT_FALSE(sim.machine().Drive(3)->device().vendorModeOn());
}

// A record announced longer than 64 sectors is refused before it is read,
// and the drive leaves vendor mode.
TEST(SimIntegration, AnOverlongInformationRecordIsRefused) {
  DriveDescription d = Level(5);
  d.revisionSet = "02.01P02 ." + std::string(11000, 'A') + "P";
  SimSystem sim(MachineWith({DriveEntry(3, os::kBusTypeUsb, d)}));
  tessel::SatDrivePassThrough drive(sim.OpenDrive(3));
  tessel::VxVscImpl5AtaDeviceInfo info(drive, ReadPhysParams(drive));
  try {
    (void)info.GetFirmwareRevisionSet();
    ADD_FAILURE() << "an overlong record was read";
  } catch (const tessel::Exception& e) {
    EXPECT_EQ(e.message(), "information record too long");
  }
  EXPECT_FALSE(sim.machine().Drive(3)->device().vendorModeOn());
}

TEST(SimIntegration, KeySectorsNeedVendorMode) {
  SimSystem sim(MachineWith({DriveEntry(0, os::kBusTypeSata, Level(4)),
                             DriveEntry(1, os::kBusTypeSata, Level(5))}));
  std::uint8_t block[512];
  for (int number : {0, 1}) {
    tessel::AtaDriveWinPassThrough drive(sim.OpenDrive(number));
    try {
      drive.CreateVsc()->ReadPhysParams(block, 512);
      ADD_FAILURE() << "drive " << number << ": no exception";
    } catch (const tessel::AtaException& e) {
      EXPECT_EQ(e.operation(), "key") << "drive " << number;
    }
  }
}

TEST(SimIntegration, MalformedBlocksAreRejected) {
  SimSystem sim(MachineWith({DriveEntry(0, os::kBusTypeSata)}));
  const os::DeviceHandle h = sim.OpenDrive(0);
  std::vector<std::uint8_t> block(40 + 512, 0);
  block[0] = 41;  // Length
  os::DWORD returned = 0;
  EXPECT_FALSE(sim.machine().DeviceIoControl(h, os::kIoctlAtaPassThrough, block.data(), 40,
                                             block.data(), 552, &returned, nullptr));
  EXPECT_EQ(sim.fake().errors.GetLastError(), os::kErrorInvalidParameter);
  // IDENTIFY announced as data-out.
  block[0] = 40;
  block[2] = 0x05;
  block[8] = 0x00;
  block[9] = 0x02;
  block[20] = 40;
  block[38] = 0xEC;
  EXPECT_FALSE(sim.machine().DeviceIoControl(h, os::kIoctlAtaPassThrough, block.data(), 552,
                                             block.data(), 40, &returned, nullptr));
  EXPECT_EQ(sim.fake().errors.GetLastError(), os::kErrorInvalidParameter);
  sim.machine().CloseHandle(h);
}

TEST(SimIntegration, FaultsOnDemand) {
  DriveDescription d;
  d.faults.push_back(Fault{.on = "identify", .status = 0x51, .error = 0x04, .times = 2});
  d.faults.push_back(Fault{.on = "registers", .descriptorCode = 0x72, .times = 1});
  SimSystem sim(MachineWith({DriveEntry(0, os::kBusTypeUsb, d)}));
  tessel::SatDrivePassThrough drive(sim.OpenDrive(0));
  std::uint8_t buffer[512];
  try {
    drive.IdentifyDevice(buffer, 512);
    FAIL() << "no exception";
  } catch (const tessel::Exception& e) {
    EXPECT_EQ(e.detail(), 0x72);
  }
  drive.IdentifyDevice(buffer, 512);
  EXPECT_TRUE(tessel::IsCommandFailure(drive.GetTaskfile()));
  EXPECT_EQ(+drive.GetTaskfile().outError, 0x04);
  drive.IdentifyDevice(buffer, 512);
  EXPECT_FALSE(tessel::IsCommandFailure(drive.GetTaskfile()));
}

std::vector<std::uint8_t> ImageFor(std::uint16_t config = 2445) {
  FirmwareImageHeader h;
  h.familyId = 666;
  h.configId = config;
  h.revisionBase = "02.01P02";
  h.revisionSuffix = ".30.3C.31P";
  h.firmwareRevision = "02.01P03";
  return BuildFirmwareImage(h, std::vector<std::uint8_t>(3000, 0x11));
}

// The checksum covers the header as well as the payload: a changed byte
// anywhere refuses the image.
TEST(FirmwareImage, AChangedByteInHeaderOrPayloadRefusesTheImage) {
  const auto image = ImageFor();
  ASSERT_TRUE(CheckFirmwareImage(image));
  EXPECT_EQ(CheckFirmwareImage(image)->firmwareRevision, "02.01P03");
  for (std::size_t at : {std::size_t{6}, std::size_t{20}, std::size_t{49}, std::size_t{64},
                         std::size_t{64 + 2999}}) {
    auto damaged = image;
    damaged[at] ^= 0x01;
    EXPECT_FALSE(CheckFirmwareImage(damaged)) << "byte " << at;
  }
}

TEST(SimIntegration, SegmentedDownloadActivatesTheNewRevision) {
  DriveDescription d;
  d.transferMaxBlocks = 2;
  SimSystem sim(MachineWith({DriveEntry(0, os::kBusTypeSata, d)}));
  tessel::AtaDriveWinPassThrough drive(sim.OpenDrive(0));
  const auto image = ImageFor();  // 3072 bytes: three segments of 2 blocks
  std::vector<std::uint8_t> results;
  for (std::size_t offset = 0; offset < image.size(); offset += 1024) {
    results.push_back(drive.DownloadMicrocode(3, 2, static_cast<std::uint16_t>(offset / 512),
                                              image.data() + offset, 1024));
  }
  EXPECT_EQ(results, (std::vector<std::uint8_t>{1, 1, 2}));
  EXPECT_EQ(sim.machine().Drive(0)->device().firmware(), "02.01P03");
  EXPECT_EQ(sim.machine().Drive(0)->device().revisionSet(), "02.01P02 .30.3C.31P");
  drive.RefreshIdentify();
  EXPECT_EQ(tessel::AtaDeviceInfo(drive).GetFirmwareRevisionTrimmed(), "02.01P03");
}

TEST(SimIntegration, SegmentsOutOfOrderOrForeignImagesAbort) {
  SimSystem sim(MachineWith({DriveEntry(0, os::kBusTypeSata)}));
  tessel::AtaDriveWinPassThrough drive(sim.OpenDrive(0));
  const auto image = ImageFor();
  drive.DownloadMicrocode(3, 2, 0, image.data(), 1024);
  EXPECT_EQ(drive.DownloadMicrocode(3, 2, 4, image.data() + 2048, 1024), 0);
  EXPECT_TRUE(tessel::IsCommandFailure(drive.GetTaskfile()));
  const auto foreign = ImageFor(2446);
  EXPECT_EQ(drive.DownloadMicrocode(7, 6, 0, foreign.data(), 3072), 0);
  EXPECT_TRUE(tessel::IsCommandFailure(drive.GetTaskfile()));
  auto damaged = ImageFor();
  damaged[200] ^= 0xFF;
  EXPECT_EQ(drive.DownloadMicrocode(7, 6, 0, damaged.data(), 3072), 0);
  EXPECT_EQ(sim.machine().Drive(0)->device().firmware(), "02.01P02");
  EXPECT_EQ(drive.DownloadMicrocode(7, 6, 0, image.data(), 3072), 2);
  EXPECT_EQ(sim.machine().Drive(0)->device().firmware(), "02.01P03");
}

TEST(SimIntegration, TheStorageQueryReportsTheBusType) {
  SimSystem sim(MachineWith({DriveEntry(2, os::kBusTypeRaid)}));
  const os::DeviceHandle h = sim.OpenDrive(2);
  std::uint8_t query[12] = {};
  std::vector<std::uint8_t> descriptor(1064, 0);
  os::DWORD returned = 0;
  ASSERT_TRUE(sim.machine().DeviceIoControl(h, os::kIoctlStorageQueryProperty, query, 12,
                                            descriptor.data(), 1064, &returned, nullptr));
  EXPECT_EQ(descriptor[28], os::kBusTypeRaid);
  EXPECT_EQ(sim.OpenDrive(3), os::InvalidHandleValue());
  sim.machine().CloseHandle(h);
}

TEST(SimIntegration, TheTraceHasALinePerRequest) {
  const std::string path = ::testing::TempDir() + "sim_trace.txt";
  SimSystem sim(MachineWith({DriveEntry(0, os::kBusTypeUsb)}));
  ASSERT_TRUE(sim.machine().TraceTo(path));
  {
    tessel::SatDrivePassThrough drive(sim.OpenDrive(0));
    std::uint8_t buffer[512];
    drive.IdentifyDevice(buffer, 512);
  }
  std::ifstream trace(path);
  std::string first, second, third;
  std::getline(trace, first);
  std::getline(trace, second);
  EXPECT_FALSE(std::getline(trace, third));
  EXPECT_EQ(first.rfind("drive0 code=0x4D004 result=1 error=0 in=2c00", 0), 0u) << first;
  EXPECT_NE(second.find("in=2c0000000000100001000000160000001e0000002c000000000000008" "51f"),
            std::string::npos) << second;
}

}  // namespace
}  // namespace sim
