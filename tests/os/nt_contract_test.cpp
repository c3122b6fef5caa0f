// Handle duplication, ntdll's symbolic links, the version and the string
// table, against the fake and against Windows.
#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

using NtContract = ContractTest;

TEST_F(NtContract, NtdllRoutinesAreFoundByName) {
  auto& devices = sys().devices;
  const os::HMODULE ntdll = devices.GetModuleHandleW(u"ntdll");
  ASSERT_NE(ntdll, nullptr);
  for (const char* name : {"NtOpenSymbolicLinkObject", "NtQuerySymbolicLinkObject", "NtClose"}) {
    EXPECT_NE(devices.GetProcAddress(ntdll, name), nullptr) << name;
  }
  EXPECT_EQ(devices.GetProcAddress(ntdll, "NtNoSuchRoutine"), nullptr);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorProcNotFound);
  EXPECT_EQ(devices.GetModuleHandleW(u"nosuchmodule"), nullptr);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorModNotFound);
}

TEST_F(NtContract, AMissingLinkIsNotFound) {
  auto& devices = sys().devices;
  const os::HMODULE ntdll = devices.GetModuleHandleW(u"ntdll");
  const os::ProcAddress open = devices.GetProcAddress(ntdll, "NtOpenSymbolicLinkObject");
  std::u16string name = u"\\??\\PhysicalDrive15";
  os::UnicodeString objectName{static_cast<std::uint16_t>(name.size() * 2),
                               static_cast<std::uint16_t>(name.size() * 2 + 2), name.data()};
  os::ObjectAttributes attributes{};
  attributes.Length = 24;
  attributes.ObjectName = &objectName;
  attributes.Attributes = os::kObjCaseInsensitive;
  os::HANDLE link = nullptr;
  EXPECT_EQ(devices.NtOpenSymbolicLinkObject(open, &link, os::kSymbolicLinkQuery, &attributes),
            os::kStatusObjectNameNotFound);
}

TEST_F(NtContract, VersionNeedsTheStructureSize) {
  os::OsVersionInfo info{};
  info.dwOSVersionInfoSize = os::kOsVersionInfoSize;
  ASSERT_NE(sys().version.GetVersionExW(&info), os::kFalse);
  EXPECT_GE(info.dwMajorVersion, 5u);
  // Windows then reports ERROR_INSUFFICIENT_BUFFER; Wine 8 leaves the last
  // error as it was, so only the refusal is common ground.
  info.dwOSVersionInfoSize = 12;
  EXPECT_EQ(sys().version.GetVersionExW(&info), os::kFalse);
}

TEST_F(NtContract, StringTableEntriesLoadAndACutOneEndsInNul) {
  char16_t text[64] = {};
  EXPECT_EQ(sys().text.LoadStringW(nullptr, 129, text, 64), 36);
  EXPECT_EQ(std::u16string(text), u"This drive qualifies for the update.");
  EXPECT_EQ(sys().text.LoadStringW(nullptr, 129, text, 5), 4);
  EXPECT_EQ(std::u16string(text), u"This");
  EXPECT_EQ(sys().text.LoadStringW(nullptr, 4242, text, 64), 0);
}

}  // namespace
}  // namespace contract
