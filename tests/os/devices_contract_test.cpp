#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

class DevicesContract : public ContractTest {};

TEST_P(DevicesContract, AMissingDriveDoesNotOpen) {
  const os::DeviceHandle h = sys().devices.CreateFileW(
      u"\\\\.\\PhysicalDrive15", os::kGenericRead | os::kGenericWrite,
      os::kFileShareRead | os::kFileShareWrite, nullptr, os::kOpenExisting, 0,
      nullptr);
  EXPECT_EQ(h, os::InvalidHandleValue());
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorFileNotFound);
}

TEST_P(DevicesContract, ADuplicateIsAHandleOfItsOwn) {
  auto& devices = sys().devices;
  const os::DeviceHandle drive = devices.CreateFileW(
      u"\\\\.\\PhysicalDrive0", os::kGenericRead | os::kGenericWrite,
      os::kFileShareRead | os::kFileShareWrite, nullptr, os::kOpenExisting, 0, nullptr);
  ASSERT_NE(drive, os::InvalidHandleValue());
  os::DeviceHandle copy = os::InvalidHandleValue();
  auto& process = sys().process;
  ASSERT_NE(devices.DuplicateHandle(process.GetCurrentProcess(), drive,
                                    process.GetCurrentProcess(), &copy, 0, os::kFalse,
                                    os::kDuplicateSameAccess),
            os::kFalse);
  EXPECT_NE(copy, drive);
  EXPECT_NE(devices.CloseHandle(drive), os::kFalse);
  EXPECT_NE(devices.CloseHandle(copy), os::kFalse);
  EXPECT_EQ(devices.CloseHandle(copy), os::kFalse);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorInvalidHandle);
}

TEST_P(DevicesContract, AMissingLinkIsNotFound) {
  auto& devices = sys().devices;
  const os::HMODULE ntdll = sys().modules.GetModuleHandleW(u"ntdll");
  const os::ProcAddress open = sys().modules.GetProcAddress(ntdll, "NtOpenSymbolicLinkObject");
  std::u16string name = u"\\??\\PhysicalDrive15";
  os::UnicodeString objectName{static_cast<std::uint16_t>(name.size() * 2),
                               static_cast<std::uint16_t>(name.size() * 2 + 2), name.data()};
  os::ObjectAttributes attributes{};
  attributes.Length = os::kObjectAttributesSize;
  attributes.ObjectName = &objectName;
  attributes.Attributes = os::kObjCaseInsensitive;
  os::HANDLE link = nullptr;
  EXPECT_EQ(devices.NtOpenSymbolicLinkObject(open, &link, os::kSymbolicLinkQuery, &attributes),
            os::kStatusObjectNameNotFound);
}

VX_CONTRACT_FOR_WHOLE_SYSTEMS(DevicesContract);

}  // namespace
}  // namespace contract
