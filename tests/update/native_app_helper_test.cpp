// The native road over the fake registry, files and service database.
#include "update/native_app_helper.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/log.h"
#include "base/settings.h"
#include "os/constants.h"
#include "os/fake/fake_system.h"
#include "update/multi_string.h"
#include "update/update_run.h"

namespace update {
namespace {

constexpr char16_t kFolder[] = u"C:\\Program Files\\Veltrax Update";
constexpr char16_t kRoot[] = u"SYSTEM\\SOFTWARE\\Veltrax Corporation\\VLXFMUpdate";
constexpr char16_t kSession[] = u"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr char16_t kRunOnce[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::vector<std::uint8_t> Bytes(const std::u16string& text, bool withNul = true) {
  std::vector<std::uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  if (withNul) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

std::vector<std::uint8_t> List(std::initializer_list<std::u16string> entries) {
  std::vector<std::uint8_t> bytes;
  for (const auto& e : entries) {
    const auto b = Bytes(e);
    bytes.insert(bytes.end(), b.begin(), b.end());
  }
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

std::vector<std::uint8_t> Dword(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

class Drives final : public SelectionSource {
 public:
  Selection selection() const override { return drives; }
  Selection drives;
};

class NativeRoad : public testing::Test {
 protected:
  NativeRoad() {
    base::Settings().moduleFolder = kFolder;
    auto& files = fake.files;
    files.AddFolder(kFolder);
    files.AddFolder(u"C:\\windows\\system32");
    for (const char16_t* name : {u"VLXFMNativeApp32.exe", u"VLXFMNativeApp64.exe",
                                 u"VLXFMDriver32.sys", u"VLXFMDriver64.sys", u"status.dat"}) {
      files.PutFile(std::u16string(kFolder) + u"\\" + name, {'x'});
    }
    auto& reg = fake.registry;
    const auto hklm = os::HkeyLocalMachine();
    reg.SetValue(hklm, u"SYSTEM\\SOFTWARE", u"Other", os::kRegDword, Dword(1));
    reg.SetValue(hklm, kSession, u"BootExecute", os::kRegMultiSz, List({u"autocheck autochk *"}));
    reg.SetValue(hklm, kRunOnce, u"Other", os::kRegSz, Bytes(u"x"));
    update::SetSelectionSource(&drives);
  }
  ~NativeRoad() override { update::SetSelectionSource(nullptr); }

  void Select(const char* model, const char* serial, std::uint32_t number) {
    auto drive = std::make_shared<drives::CDrive>(nullptr, u"\\\\.\\PhysicalDrive" +
                                                       std::u16string(1, u'0' + number), 11);
    std::strncpy(drive->Model.data(), model, 40);
    std::strncpy(drive->SerialNumber.data(), serial, 20);
    drive->DriveDevicePath = u"\\Device\\Harddisk" + std::u16string(1, u'0' + number) + u"\\DR0";
    drive->AvailableFirmwareFilePath = std::u16string(kFolder) + u"\\vx7221.bin";
    drive->TransferMax = 0x8000 + number;
    drive->PhyEntity[0] = static_cast<std::uint8_t>(0xA0 + number);
    drives.drives[drive->SerialNumberText()] = drive;
  }
  std::optional<os::memory::RegistryTree::Value> Value(const std::u16string& key,
                                                     const std::u16string& name) {
    return fake.registry.GetValue(os::HkeyLocalMachine(), key, name);
  }
  std::vector<std::uint8_t> BootExecute() { return Value(kSession, u"BootExecute")->data; }
  void ExpectNothingLeft() {
    EXPECT_FALSE(fake.registry.KeyExists(os::HkeyLocalMachine(),
                                         u"SYSTEM\\SOFTWARE\\Veltrax Corporation"));
    EXPECT_FALSE(fake.services.Find(u"VLXFMDriver"));
    EXPECT_FALSE(fake.files.Exists(u"C:\\windows\\system32\\VLXFMNativeApp32.exe"));
    EXPECT_EQ(BootExecute(), List({u"autocheck autochk *"}));
    EXPECT_FALSE(fake.files.Exists(std::u16string(kFolder) + u"\\status.dat"));
    EXPECT_EQ(fake.registry.OpenKeys(), 0);
  }

  os::fake::ScopedFakeSystem fake;
  Drives drives;
};

TEST_F(NativeRoad, APreparationWritesEveryValueOfTheHandOff) {
  Select("  VX7221-500G-A ", "VX3 ", 4);
  Select("VX7221-1T0-U", "VX1", 1);
  Select("VX7221-2T0-A", "VX2", 2);
  const auto result = update::CNativeAppHelper().PrepareNativeUpdate();
  ASSERT_TRUE(base::IsSuccess(result)) << result->line;
  EXPECT_EQ(Value(kRoot, u"DriveCount")->data, Dword(3));
  EXPECT_EQ(Value(kRoot, u"AfterUpdateRestartSystem")->data, Dword(0));
  EXPECT_EQ(Value(kRoot, u"AppDirPath")->data, Bytes(std::u16string(kFolder) + u"\\"));
  EXPECT_EQ(Value(kRoot, u"SystemDirectoryPath")->data, Bytes(u"C:\\windows\\system32\\"));
  // By serial number: VX1, VX2, VX3.
  const std::u16string first = std::u16string(kRoot) + u"\\0";
  EXPECT_EQ(Value(first, u"Model")->type, os::kRegSz);
  EXPECT_EQ(Value(first, u"Model")->data, Bytes(u"VX7221-1T0-U"));
  EXPECT_EQ(Value(first, u"SerialNumber")->data, Bytes(u"VX1"));
  EXPECT_EQ(Value(first, u"AvailableFirmwareRevision")->data, Bytes(u"N/A"));
  EXPECT_EQ(Value(first, u"AvailableFirmwareFilePath")->data,
            Bytes(std::u16string(kFolder) + u"\\vx7221.bin"));
  EXPECT_EQ(Value(first, u"DrivePath")->data, Bytes(u"\\\\.\\PhysicalDrive1"));
  EXPECT_EQ(Value(first, u"DriveDevicePath")->data, Bytes(u"\\Device\\Harddisk1\\DR0"));
  EXPECT_EQ(Value(first, u"TransferMax")->data, Dword(0x8001));
  EXPECT_EQ(Value(first, u"BusType")->data, Dword(11));
  EXPECT_EQ(Value(first, u"PhyEntity")->type, os::kRegBinary);
  EXPECT_EQ(Value(first, u"PhyEntity")->data.size(), 64u);
  EXPECT_EQ(Value(first, u"PhyEntity")->data[0], 0xA1);
  const std::u16string third = std::u16string(kRoot) + u"\\2";
  EXPECT_EQ(Value(third, u"Model")->data, Bytes(u"VX7221-500G-A"));
  EXPECT_EQ(Value(third, u"SerialNumber")->data, Bytes(u"VX3"));

  EXPECT_TRUE(fake.files.Exists(u"C:\\windows\\system32\\VLXFMNativeApp32.exe"));
  EXPECT_EQ(BootExecute(), List({u"VLXFMNativeApp32", u"autocheck autochk *"}));
  EXPECT_EQ(Value(kRunOnce, u"VLXFMWizardApp")->data,
            Bytes(u"\"" + std::u16string(kFolder) + u"\\VLXFMWizardApp.exe\" /done"));
  EXPECT_TRUE(fake.services.Find(u"VLXFMDriver"));
  EXPECT_FALSE(fake.services.Find(u"VLXFMDriver")->running);
  EXPECT_FALSE(fake.files.Exists(std::u16string(kFolder) + u"\\status.dat"));
  EXPECT_EQ(fake.registry.OpenKeys(), 0);

  CNativeAppHelper().CleanUpNativeUpdate();
  ExpectNothingLeft();
  EXPECT_TRUE(Value(u"SYSTEM\\SOFTWARE", u"Other"));
  EXPECT_TRUE(Value(kRunOnce, u"VLXFMWizardApp"));
}

TEST_F(NativeRoad, ASecondPreparationStartsFromNothing) {
  fake.registry.SetValue(os::HkeyLocalMachine(), std::u16string(kRoot) + u"\\7", u"Model",
                         os::kRegSz, Bytes(u"left over"));
  Select("VX7221", "VX1", 0);
  ASSERT_TRUE(base::IsSuccess(update::CNativeAppHelper().PrepareNativeUpdate()));
  EXPECT_FALSE(fake.registry.KeyExists(os::HkeyLocalMachine(), std::u16string(kRoot) + u"\\7"));
  EXPECT_EQ(Value(kRoot, u"DriveCount")->data, Dword(1));
  ASSERT_TRUE(base::IsSuccess(update::CNativeAppHelper().PrepareNativeUpdate()));
  EXPECT_EQ(BootExecute(), List({u"VLXFMNativeApp32", u"autocheck autochk *"}));
}

TEST_F(NativeRoad, EachFailureRollsBackAndNamesItsSite) {
  struct Case {
    const char* what;
    std::function<void(os::fake::FakeSystem&)> arrange;
    std::int32_t line;
    std::uint32_t code;
  } cases[] = {
      {"root key", [](auto& f) { f.faults.Fail("registry", "RegCreateKeyExW", 5); }, 214, 5},
      {"service", [](auto& f) { f.faults.Fail("services", "CreateServiceW", 1073 + 1, 1); }, 180, 1074},
      {"system directory", [](auto& f) { f.faults.Fail("files", "GetSystemDirectoryW", 3, 2); }, 267, 3},
      {"copy", [](auto& f) { f.faults.Fail("files", "CopyFileW", 32); }, 309, 32},
      {"boot-execute list missing",
       [](auto& f) {
         f.registry.SetValue(os::HkeyLocalMachine(), kSession, u"BootExecute", os::kRegSz,
                             Bytes(u"autocheck autochk *"));
       },
       370, 13},
      {"Session Manager",
       [](auto& f) { f.registry.RegDeleteTreeW(os::HkeyLocalMachine(), kSession); }, 379, 2},
      {"RunOnce", [](auto& f) { f.registry.RegDeleteTreeW(os::HkeyLocalMachine(), kRunOnce); },
       395, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fake.faults.Clear();
    fake.registry.SetValue(os::HkeyLocalMachine(), kSession, u"BootExecute", os::kRegMultiSz,
                           List({u"autocheck autochk *"}));
    fake.registry.SetValue(os::HkeyLocalMachine(), kRunOnce, u"Other", os::kRegSz, Bytes(u"x"));
    Select("VX7221", "VX1", 0);
    c.arrange(fake);
    const auto result = update::CNativeAppHelper().PrepareNativeUpdate();
    fake.faults.Clear();
    ASSERT_FALSE(base::IsSuccess(result));
    EXPECT_EQ(result->line, c.line);
    EXPECT_EQ(result->code, c.code);
    EXPECT_FALSE(fake.registry.KeyExists(os::HkeyLocalMachine(),
                                         u"SYSTEM\\SOFTWARE\\Veltrax Corporation"));
    EXPECT_FALSE(fake.services.Find(u"VLXFMDriver"));
    EXPECT_FALSE(fake.files.Exists(u"C:\\windows\\system32\\VLXFMNativeApp32.exe"));
    if (const auto value = Value(kSession, u"BootExecute")) {
      const auto ours = Bytes(u"VLXFMNative", false);
      EXPECT_EQ(std::search(value->data.begin(), value->data.end(), ours.begin(), ours.end()),
                value->data.end());
    }
  }
}

TEST_F(NativeRoad, CleaningUpAMachineWithNothingPreparedFindsNothing) {
  update::CNativeAppHelper().CleanUpNativeUpdate();
  ExpectNothingLeft();
  EXPECT_TRUE(Value(u"SYSTEM\\SOFTWARE", u"Other"));
}

TEST_F(NativeRoad, On64BitWindowsOnlyThe64BitNameLeavesTheList) {
  fake.process.SetWow64(true);
  fake.registry.SetValue(os::HkeyLocalMachine(), kSession, u"BootExecute", os::kRegMultiSz,
                         List({u"vlxfmnativeapp64", u"autocheck autochk *", u"VLXFMNativeApp32",
                               u"VLXFMNATIVEAPP64"}));
  fake.files.PutFile(u"C:\\windows\\system32\\VLXFMNativeApp64.exe", {'x'});
  update::CNativeAppHelper().CleanUpNativeUpdate();
  EXPECT_EQ(BootExecute(), List({u"autocheck autochk *", u"VLXFMNativeApp32"}));
  EXPECT_FALSE(fake.files.Exists(u"C:\\windows\\system32\\VLXFMNativeApp64.exe"));
  EXPECT_FALSE(fake.process.RedirectionOff());
  EXPECT_EQ(fake.process.redirectionSwitches, 2);

  Select("VX7221", "VX1", 0);
  ASSERT_TRUE(base::IsSuccess(CNativeAppHelper().PrepareNativeUpdate()));
  EXPECT_EQ(BootExecute(),
            List({u"VLXFMNativeApp64", u"autocheck autochk *", u"VLXFMNativeApp32"}));
  EXPECT_EQ(fake.services.Find(u"VLXFMDriver")->binaryPath,
            std::u16string(kFolder) + u"\\VLXFMDriver64.sys");
  EXPECT_FALSE(fake.process.RedirectionOff());
}

}  // namespace
}  // namespace update
