#include "os/scoped_handle.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "os/constants.h"
#include "os/fake/fake_system.h"

namespace os {
namespace {

// One kind of handle cannot be wrapped, stored or closed as another.
static_assert(!std::is_constructible_v<UniqueServiceHandle, HKEY>);
static_assert(!std::is_constructible_v<UniqueRegistryKey, SC_HANDLE>);
static_assert(!std::is_constructible_v<UniqueFileHandle, DeviceHandle>);
static_assert(!std::is_constructible_v<UniqueDeviceHandle, FileHandle>);
static_assert(!std::is_constructible_v<UniqueProcessHandle, HANDLE>);
static_assert(!std::is_constructible_v<UniqueTokenHandle, ProcessHandle>);
static_assert(!std::is_convertible_v<HKEY, HANDLE>);
static_assert(!std::is_convertible_v<DeviceHandle, HANDLE>);
static_assert(!std::is_invocable_v<decltype(&Files::CloseHandle), Files&, DeviceHandle>);
static_assert(!std::is_copy_constructible_v<UniqueFileHandle>);
static_assert(std::is_nothrow_move_constructible_v<UniqueFileHandle>);

TEST(ScopedHandle, ClosesThroughTheAreaThatMadeItAndKeepsTheLastError) {
  fake::ScopedFakeSystem fake;
  fake.devices.Add(u"\\\\.\\PhysicalDrive0", std::make_shared<fake::ScriptedDevice>());
  {
    UniqueDeviceHandle drive(fake.devices.CreateFileW(u"\\\\.\\PhysicalDrive0", kGenericRead,
                                                      0, nullptr, kOpenExisting, 0, nullptr));
    ASSERT_TRUE(drive.IsValid());
    fake.errors.SetLastError(1117);
  }
  EXPECT_EQ(fake.devices.OpenHandles(), 0);
  EXPECT_EQ(fake.devices.Closes(u"\\\\.\\PhysicalDrive0"), 1);
  EXPECT_EQ(fake.errors.GetLastError(), 1117u);
}

TEST(ScopedHandle, PutClosesTheOldHandleAndTakesTheNewOne) {
  fake::ScopedFakeSystem fake;
  UniqueRegistryKey key;
  ASSERT_EQ(fake.registry.RegCreateKeyExW(HkeyLocalMachine(), u"SOFTWARE\\A", 0, nullptr, 0,
                                          kKeyAllAccess, nullptr, key.Put(), nullptr),
            0);
  const HKEY first = key.Get();
  ASSERT_EQ(fake.registry.RegCreateKeyExW(HkeyLocalMachine(), u"SOFTWARE\\B", 0, nullptr, 0,
                                          kKeyAllAccess, nullptr, key.Put(), nullptr),
            0);
  EXPECT_NE(key.Get(), first);
  // The first key is closed already: closing it again fails.
  EXPECT_NE(fake.registry.RegCloseKey(first), 0);
}

TEST(ScopedHandle, NullAndInvalidAreBothEmptyForFilesAndDevices) {
  fake::ScopedFakeSystem fake;
  EXPECT_FALSE(UniqueFileHandle(nullptr).IsValid());
  EXPECT_FALSE(UniqueFileHandle(InvalidHandleValue()).IsValid());
  EXPECT_FALSE(UniqueDeviceHandle(InvalidHandleValue()).IsValid());
  EXPECT_FALSE(UniqueServiceHandle(nullptr).IsValid());
}

}  // namespace
}  // namespace os
