// The driver service's life over the fake service database.
#include "update/driver_helper.h"

#include <gtest/gtest.h>

#include "base/settings.h"
#include "os/constants.h"
#include "os/fake/fake_system.h"
#include "update/firmware_update_record.h"

namespace update {
namespace {

class DriverHelperTest : public testing::Test {
 protected:
  DriverHelperTest() {
    base::Settings().moduleFolder = u"C:\\pkg";
    fake.files.AddFolder(u"C:\\pkg");
    fake.files.PutFile(u"C:\\pkg\\VLXFMDriver32.sys", {1});
    fake.files.PutFile(u"C:\\pkg\\VLXFMDriver64.sys", {1});
    fake.devices.Add(u"\\\\.\\VLXFMDriver", driver);
  }
  std::optional<os::memory::ServiceDatabase::Service> Service() {
    return fake.services.Find(u"VLXFMDriver");
  }

  os::fake::ScopedFakeSystem fake;
  std::shared_ptr<os::fake::ScriptedDevice> driver = std::make_shared<os::fake::ScriptedDevice>();
};

TEST_F(DriverHelperTest, RegistersStartsOpensAndRemovesAgain) {
  update::CDriverHelper helper;
  ASSERT_TRUE(base::IsSuccess(helper.CreateAndStartDriver()));
  const auto service = Service();
  ASSERT_TRUE(service);
  EXPECT_EQ(service->displayName, u"Veltrax Corporation Firmware Update Driver");
  EXPECT_EQ(service->binaryPath, u"C:\\pkg\\VLXFMDriver32.sys");
  EXPECT_EQ(service->serviceType, os::kServiceKernelDriver);
  EXPECT_EQ(service->startType, os::kServiceDemandStart);
  EXPECT_TRUE(service->running);
  EXPECT_TRUE(helper.deviceHandle.IsValid());
  EXPECT_TRUE(base::IsSuccess(helper.StopDriverAndRemove()));
  EXPECT_FALSE(Service());
  EXPECT_EQ(fake.services.OpenHandles(), 0);
  EXPECT_EQ(fake.devices.OpenHandles(), 0);
  // Nothing is left to do a second time.
  EXPECT_TRUE(base::IsSuccess(helper.StopDriverAndRemove()));
}

TEST_F(DriverHelperTest, TheBinaryFollowsTheWow64Test) {
  const std::pair<std::pair<bool, bool>, const char16_t*> cases[] = {
      {{true, true}, u"C:\\pkg\\VLXFMDriver64.sys"},
      {{true, false}, u"C:\\pkg\\VLXFMDriver32.sys"},
      {{false, true}, u"C:\\pkg\\VLXFMDriver32.sys"},
  };
  for (const auto& [wow64, binary] : cases) {
    if (!wow64.first) fake.modules.Remove(u"kernel32", "IsWow64Process");
    fake.process.SetWow64(wow64.second);
    ASSERT_TRUE(base::IsSuccess(update::InstallDriverService()));
    EXPECT_EQ(Service()->binaryPath, binary);
    EXPECT_FALSE(Service()->running);
    update::UninstallDriverService();
    EXPECT_FALSE(Service());
  }
}

TEST_F(DriverHelperTest, AServiceLeftBehindIsUsedAndARunningOneCountsAsStarted) {
  fake.services.Add(u"VLXFMDriver", {u"old", 1, 3, u"C:\\old\\driver.sys", true, false});
  update::CDriverHelper helper;
  ASSERT_TRUE(base::IsSuccess(helper.CreateAndStartDriver()));
  EXPECT_EQ(Service()->binaryPath, u"C:\\old\\driver.sys");
}

TEST_F(DriverHelperTest, StoppingAStoppedServiceStillDeletesIt) {
  update::CDriverHelper helper;
  ASSERT_TRUE(base::IsSuccess(helper.CreateDriverService(&helper.serviceHandle)));
  EXPECT_TRUE(base::IsSuccess(helper.StopDriverAndRemove()));
  EXPECT_FALSE(Service());
}

TEST_F(DriverHelperTest, FailuresNameTheirSiteAndRollBack) {
  struct Case {
    const char* area;
    const char* call;
    std::int32_t line;
    const char16_t* function;
  } cases[] = {
      {"services", "OpenSCManagerW", 212, u"CDriverHelper::CreateDriverService"},
      {"services", "CreateServiceW", 180, u"CDriverHelper::CreateDriverService"},
      {"services", "StartServiceW", 285, u"CDriverHelper::StartDriver"},
      {"devices", "CreateFileW", 59, u"CDriverHelper::CreateAndStartDriver"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    fake.faults.Fail(c.area, c.call, 1275);
    update::CDriverHelper helper;
    const auto result = helper.CreateAndStartDriver();
    ASSERT_FALSE(base::IsSuccess(result));
    EXPECT_EQ(result->code, 1275u);
    EXPECT_EQ(result->line, c.line);
    EXPECT_EQ(result->function, c.function);
    EXPECT_EQ(result->file, u"DriverHelper");
    EXPECT_FALSE(Service());  // deleted again, without a stop
    EXPECT_TRUE(base::IsSuccess(helper.StopDriverAndRemove()));
  }
}

TEST_F(DriverHelperTest, TheRecordGoesInWholeAndTheStatusComesBackInsideIt) {
  update::CDriverHelper helper;
  ASSERT_TRUE(base::IsSuccess(helper.CreateAndStartDriver()));
  auto record = FirmwareUpdateRecord::Create(600);
  driver->responses.push_back({.output = std::vector<std::uint8_t>(256, 0xEE)});
  EXPECT_TRUE(base::IsSuccess(helper.SendUpdateFirmwareIOCTL(*record, record->size())));
  ASSERT_EQ(driver->requests.size(), 1u);
  EXPECT_EQ(driver->requests[0].code, 0x0FCDE016u);
  EXPECT_EQ(driver->requests[0].input.size(), 1995u);
  EXPECT_EQ(driver->requests[0].outSize, 256u);
  EXPECT_EQ(record->data()[1062], 0xEE);
  EXPECT_EQ(record->data()[1318], 0x00);  // past the 256 output bytes
  driver->responses.push_back({.result = os::kFalse, .error = 1117});
  const auto failed = helper.SendUpdateFirmwareIOCTL(*record, record->size());
  EXPECT_EQ(failed->code, 1117u);
  EXPECT_EQ(failed->line, 330);
}

TEST(FirmwareUpdateRecordLayout, FieldsAtTheirOffsets) {
  auto record = FirmwareUpdateRecord::Create(3);
  record->SetBusType(11);
  record->SetTransferMax(0x10000);
  record->SetSerialNumber("VX10000001XXXXXXXXXXEXTRA");
  record->SetFirmwareRevision("N/A");
  record->SetDrivePath(u"\\\\.\\PhysicalDrive2");
  record->SetDriveDevicePath(u"\\Device\\Harddisk2\\DR2");
  std::array<std::uint8_t, 64> phy{};
  phy[0] = 0xAB;
  phy[63] = 0xCD;
  record->SetPhyEntity(phy);
  const std::uint8_t* b = record->data();
  EXPECT_EQ(record->size(), 1398u);
  EXPECT_EQ(std::vector<std::uint8_t>(b, b + 8),
            (std::vector<std::uint8_t>{11, 0, 0, 0, 0x00, 0x00, 0x01, 0x00}));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 8)), "VX10000001XXXXXXXXXX");
  EXPECT_EQ(b[28], 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 29)), "N/A");
  EXPECT_EQ(b[38], '\\');
  EXPECT_EQ(b[39], 0);
  EXPECT_EQ(b[38 + 2 * 17], '2');
  EXPECT_EQ(b[38 + 2 * 18], 0);
  EXPECT_EQ(b[550], '\\');
  EXPECT_EQ(b[550 + 2 * 8], 'H');
  EXPECT_EQ(b[1326], 0xAB);
  EXPECT_EQ(b[1389], 0xCD);
  EXPECT_EQ(std::vector<std::uint8_t>(b + 1390, b + 1395),
            (std::vector<std::uint8_t>{3, 0, 0, 0, 0}));
  EXPECT_EQ(FirmwareUpdateRecord::Create(UINT32_MAX - 1394), nullptr);
}

}  // namespace
}  // namespace update
