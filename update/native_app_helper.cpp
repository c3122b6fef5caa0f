#include "update/native_app_helper.h"

#include <optional>

#include "base/format.h"
#include "base/little_endian.h"
#include "base/log.h"
#include "base/system_directory.h"
#include "base/settings.h"
#include "base/text.h"
#include "os/constants.h"
#include "os/scoped_handle.h"
#include "os/system.h"
#include "update/driver_helper.h"
#include "update/multi_string.h"
#include "update/update_run.h"

namespace update {

namespace {

constexpr char16_t kFile[] = u"NativeAppHelper";

// Where the native hand-off's steps record their failures. An entry site is
// what the record holds while its step succeeds.
namespace site {
constexpr std::int32_t kCreateDriveRegistryEntry = 138;
constexpr std::int32_t kRootKeyFailed = 214;
constexpr std::int32_t kDriveKeyFailed = 202;
constexpr std::int32_t kAddNativeAppEntry = 251;
constexpr std::int32_t kSystemDirectoryFailed = 267;
constexpr std::int32_t kRedirectionFailed = 290;
constexpr std::int32_t kCopyFailed = 309;
constexpr std::int32_t kSessionManagerOpenFailed = 379;
constexpr std::int32_t kBootExecuteFailed = 370;
constexpr std::int32_t kRunOnceOpenFailed = 395;
}  // namespace site
constexpr char16_t kSoftware[] = u"SYSTEM\\SOFTWARE";
constexpr char16_t kVendorKey[] = u"Veltrax Corporation";
constexpr char16_t kRoot[] = u"SYSTEM\\SOFTWARE\\Veltrax Corporation\\VLXFMUpdate";
constexpr char16_t kSessionManager[] = u"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr char16_t kRunOnce[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char16_t kStatusFile[] = u"status.dat";
constexpr os::DWORD kKeyReadWrite = os::kKeyRead | os::kKeyWrite;
constexpr std::uint32_t kBootExecuteUnits = 2048;  // 4096 bytes

os::DWORD LastError() { return os::Sys().errors.GetLastError(); }

void Log(const char16_t* line) {
  if (base::IsLogOpen()) base::WriteLogText(line);
}

os::UniqueRegistryKey OpenKey(os::HKEY root, const std::u16string& path, os::LSTATUS& status) {
  os::HKEY key = nullptr;
  status = os::Sys().registry.RegOpenKeyExW(root, path.c_str(), 0, kKeyReadWrite, &key);
  return os::UniqueRegistryKey(status == os::kErrorSuccess ? key : nullptr);
}

os::UniqueRegistryKey CreateKey(const std::u16string& path, os::LSTATUS& status) {
  os::HKEY key = nullptr;
  os::DWORD disposition = 0;
  status = os::Sys().registry.RegCreateKeyExW(os::HkeyLocalMachine(), path.c_str(), 0,
                                              nullptr, os::kRegOptionNonVolatile,
                                              kKeyReadWrite, nullptr, &key, &disposition);
  return os::UniqueRegistryKey(status == os::kErrorSuccess ? key : nullptr);
}

// REG_SZ with its terminating NUL.
void SetText(os::HKEY key, const char16_t* name, const std::u16string& text) {
  os::Sys().registry.RegSetValueExW(key, name, 0, os::kRegSz,
                                    reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                    static_cast<os::DWORD>((text.size() + 1) * 2));
}

void SetDword(os::HKEY key, const char16_t* name, std::uint32_t value) {
  std::uint8_t data[4] = {};
  base::StoreLittleEndian(data, sizeof data, 0, value, sizeof data);
  os::Sys().registry.RegSetValueExW(key, name, 0, os::kRegDword, data, 4);
}

// Deletes "Veltrax Corporation" under SYSTEM\SOFTWARE with its subtree.
void DeleteHandOffTree() {
  os::LSTATUS status = 0;
  const os::UniqueRegistryKey software = OpenKey(os::HkeyLocalMachine(), kSoftware, status);
  if (software.IsValid()) os::Sys().registry.RegDeleteTreeW(software.Get(), kVendorKey);
}

void DeleteStatusFile() {
  os::Sys().files.DeleteFileW((base::Settings().moduleFolder + u"\\" + kStatusFile).c_str());
}

// WOW64 redirection off for the lifetime of the object, where it can be.
class RedirectionOff {
 public:
  RedirectionOff() {
    auto& modules = os::Sys().modules;
    kernel32_ = modules.GetModuleHandleW(u"kernel32");
    const os::ProcAddress disable =
        kernel32_ ? modules.GetProcAddress(kernel32_, "Wow64DisableWow64FsRedirection") : nullptr;
    off_ = disable != nullptr &&
           os::Sys().process.Wow64DisableWow64FsRedirection(disable, &old_);
    if (!off_) error_ = LastError();
  }
  ~RedirectionOff() {
    if (!off_) return;
    if (const os::ProcAddress revert =
            os::Sys().modules.GetProcAddress(kernel32_, "Wow64RevertWow64FsRedirection")) {
      os::Sys().process.Wow64RevertWow64FsRedirection(revert, old_);
    }
  }
  RedirectionOff(const RedirectionOff&) = delete;
  RedirectionOff& operator=(const RedirectionOff&) = delete;

  bool off() const { return off_; }
  os::DWORD error() const { return error_; }

 private:
  os::HMODULE kernel32_ = nullptr;
  void* old_ = nullptr;
  bool off_ = false;
  os::DWORD error_ = 0;
};

// The native application's entry moved to (or put at) the front of the
// boot-execute list; a failure to build the new list leaves it as it was.
os::LSTATUS PutNativeAppFirst(os::HKEY sessionManager) {
  MultiString list(kBootExecuteUnits, u'\0');
  std::uint32_t length = 0;
  const os::LSTATUS status =
      QueryBootExecute(sessionManager, list.data(), kBootExecuteUnits, length);
  if (status != os::kErrorSuccess) return status;
  list.resize(length);
  const std::u16string name = NativeAppName();
  RemoveMultiStringEntry(list, name);
  if (!PrependMultiStringEntry(name, list)) {
    return static_cast<os::LSTATUS>(os::kErrorNotEnoughMemory);
  }
  SetBootExecute(sessionManager, &list);
  return os::kErrorSuccess;
}

}  // namespace

std::u16string NativeAppName() {
  return IsWindows64() ? u"VLXFMNativeApp64" : u"VLXFMNativeApp32";
}

base::ErrorInfoPtr CNativeAppHelper::CreateDriveRegistry() {
  constexpr char16_t kFunction[] = u"CNativeAppHelper::CreateDriveRegistry";
  auto result = base::MakeErrorInfo(kFile, site::kCreateDriveRegistryEntry, kFunction);
  DeleteHandOffTree();
  os::LSTATUS status = 0;
  const os::UniqueRegistryKey root = CreateKey(kRoot, status);
  if (!root.IsValid()) {
    result->Fail(static_cast<std::uint32_t>(status), kFile, site::kRootKeyFailed, kFunction);
    Log(u"Unable to create HKLM_REGISTRY_APP_CONFIG registry");
    return result;
  }
  SelectionSource* source = GetSelectionSource();
  const Selection selection = source != nullptr ? source->selection() : Selection{};
  const auto& settings = base::Settings();
  SetDword(root.Get(), u"DriveCount", static_cast<std::uint32_t>(selection.size()));
  SetDword(root.Get(), u"AfterUpdateRestartSystem", settings.restartAfterUpdate ? 1 : 0);
  SetText(root.Get(), u"AppDirPath", settings.moduleFolder + u"\\");
  std::u16string system;
  if (base::GetSystemDirectoryPath(system)) {
    SetText(root.Get(), u"SystemDirectoryPath", system + u"\\");
  }
  int index = 0;
  for (const auto& [serial, drive] : selection) {
    const os::UniqueRegistryKey key =
        CreateKey(base::Format(u"%s\\%d", std::u16string(kRoot), index), status);
    if (!key.IsValid()) {
      result->Fail(static_cast<std::uint32_t>(status), kFile, site::kDriveKeyFailed, kFunction);
      Log(u"Unable to create drive key");
      break;
    }
    SetText(key.Get(), u"Model", base::TrimWhiteSpace(drive->ModelText()));
    SetText(key.Get(), u"SerialNumber", base::TrimWhiteSpace(drive->SerialNumberText()));
    SetText(key.Get(), u"AvailableFirmwareRevision",
            base::TrimWhiteSpace(drive->AvailableFirmwareRevision));
    SetText(key.Get(), u"AvailableFirmwareFilePath", drive->AvailableFirmwareFilePath);
    SetText(key.Get(), u"DrivePath", drive->DrivePath);
    SetText(key.Get(), u"DriveDevicePath", drive->DriveDevicePath);
    SetDword(key.Get(), u"TransferMax", drive->TransferMax);
    SetDword(key.Get(), u"BusType", drive->BusType);
    os::Sys().registry.RegSetValueExW(key.Get(), u"PhyEntity", 0, os::kRegBinary,
                                      drive->PhyEntity.data(),
                                      static_cast<os::DWORD>(drive->PhyEntity.size()));
    ++index;
  }
  return result;
}

base::ErrorInfoPtr CNativeAppHelper::AddNativeApp() {
  constexpr char16_t kFunction[] = u"CNativeAppHelper::AddNativeApp";
  auto result = base::MakeErrorInfo(kFile, site::kAddNativeAppEntry, kFunction);
  DeleteStatusFile();
  std::u16string system;
  if (!base::GetSystemDirectoryPath(system)) {
    result->Fail(LastError(), kFile, site::kSystemDirectoryFailed, kFunction);
    Log(u"GetSystemDirectory failed");
    return result;
  }
  const std::u16string file = NativeAppName() + u".exe";
  const std::u16string& folder = base::Settings().moduleFolder;
  bool copied = false;
  {
    std::optional<RedirectionOff> redirection;
    if (IsWindows64()) {
      redirection.emplace();
      if (!redirection->off()) {
        result->Fail(redirection->error(), kFile, site::kRedirectionFailed, kFunction);
        if (base::IsLogOpen()) {
          base::WriteLogLine(u"Wow64DisableWow64FsRedirection = 0x%x", redirection->error());
        }
        return result;
      }
    }
    copied = os::Sys().files.CopyFileW((folder + u"\\" + file).c_str(),
                                       (system + u"\\" + file).c_str(), os::kFalse);
    if (!copied) {
      const os::DWORD error = LastError();
      result->Fail(error, kFile, site::kCopyFailed, kFunction);
      if (base::IsLogOpen()) base::WriteLogLine(u"CopyFile failed = 0x%x", error);
    }
  }
  if (!copied) return result;

  os::LSTATUS status = 0;
  if (const os::UniqueRegistryKey session =
          OpenKey(os::HkeyLocalMachine(), kSessionManager, status);
      !session.IsValid()) {
    result->Fail(static_cast<std::uint32_t>(status), kFile, site::kSessionManagerOpenFailed, kFunction);
    Log(kSessionManager);
  } else if ((status = PutNativeAppFirst(session.Get())) != os::kErrorSuccess) {
    result->Fail(static_cast<std::uint32_t>(status), kFile, site::kBootExecuteFailed, kFunction);
    Log(u"Unable to set native app key");
  }
  if (const os::UniqueRegistryKey runOnce = OpenKey(os::HkeyLocalMachine(), kRunOnce, status);
      !runOnce.IsValid()) {
    result->Fail(static_cast<std::uint32_t>(status), kFile, site::kRunOnceOpenFailed, kFunction);
    Log(kRunOnce);
  } else {
    // Quoted: a folder with blanks must not start another program.
    SetText(runOnce.Get(), u"VLXFMWizardApp", u"\"" + folder + u"\\VLXFMWizardApp.exe\" /done");
  }
  return result;
}

void CNativeAppHelper::RemoveNativeApp() {
  std::u16string name;
  std::u16string system;
  if (base::GetSystemDirectoryPath(system)) {
    name = NativeAppName();
    const std::u16string file = system + u"\\" + name + u".exe";
    if (IsWindows64()) {
      const RedirectionOff redirection;
      if (redirection.off()) os::Sys().files.DeleteFileW(file.c_str());
    } else {
      os::Sys().files.DeleteFileW(file.c_str());
    }
  }
  os::LSTATUS status = 0;
  if (const os::UniqueRegistryKey session =
          OpenKey(os::HkeyLocalMachine(), kSessionManager, status);
      session.IsValid()) {
    MultiString list(kBootExecuteUnits, u'\0');
    std::uint32_t length = 0;
    if (QueryBootExecute(session.Get(), list.data(), kBootExecuteUnits, length) ==
        os::kErrorSuccess) {
      list.resize(length);
      RemoveMultiStringEntry(list, name);
      SetBootExecute(session.Get(), &list);
    }
  }
  DeleteStatusFile();
}

base::ErrorInfoPtr CNativeAppHelper::PrepareNativeUpdate() {
  base::ErrorInfoPtr result = CreateDriveRegistry();
  if (base::IsSuccess(result)) result = InstallDriverService();
  if (base::IsSuccess(result)) result = AddNativeApp();
  if (base::IsSuccess(result)) result = AddAMDDriverRegistryValues();
  if (base::IsSuccess(result)) return result;
  DeleteHandOffTree();
  UninstallDriverService();
  RemoveNativeApp();
  return result;
}

void CNativeAppHelper::CleanUpNativeUpdate() {
  DeleteHandOffTree();
  UninstallDriverService();
  RemoveNativeApp();
}

}  // namespace update
