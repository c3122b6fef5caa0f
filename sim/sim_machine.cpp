#include "sim/sim_machine.h"

#include <cstdio>

#include "os/ascii_case.h"
#include "os/constants.h"
#include "os/scoped_handle.h"
#include "os/system.h"

namespace sim {
namespace {

constexpr char16_t kDrivePrefix[] = u"\\\\.\\physicaldrive";
constexpr char16_t kDriverDevice[] = u"\\\\.\\vlxfmdriver";

std::string Hex(const void* data, os::DWORD size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  for (os::DWORD i = 0; bytes != nullptr && i < size; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0xF];
  }
  return text;
}

std::u16string ToDigits(int number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

int DriveNumberOf(const std::u16string& path) {
  const std::u16string lower = os::AsciiLower(path);
  const std::u16string prefix(kDrivePrefix);
  if (lower.compare(0, prefix.size(), prefix) != 0 || lower.size() == prefix.size() ||
      lower.size() > prefix.size() + 4) {
    return -1;
  }
  int number = 0;
  for (std::size_t i = prefix.size(); i < lower.size(); ++i) {
    if (lower[i] < u'0' || lower[i] > u'9') return -1;
    number = number * 10 + (lower[i] - u'0');
  }
  return number;
}

SimMachine::SimMachine(MachineDescription description, os::Errors& errors)
    : description_(std::move(description)),
      errors_(errors),
      driver_([this](const std::u16string& path) -> AtaDevice* {
        SimDrive* drive = Drive(DriveNumberOf(path));
        return drive == nullptr ? nullptr : &drive->device();
      }),
      services_(errors, serviceFaults_) {
  services_.OnStart([this](const std::u16string& name, const os::fake::FakeServices::Service& s) {
    if (os::AsciiLower(name) != u"vlxfmdriver") return os::DWORD{0};
    os::UniqueFileHandle binary(os::Sys().files.CreateFileW(
        s.binaryPath.c_str(), os::kGenericRead, os::kFileShareRead, nullptr,
        os::kOpenExisting, os::kFileAttributeNormal, nullptr));
    if (!binary.IsValid()) return os::kErrorFileNotFound;
    SetFirmwareDriverRunning(true);
    return os::DWORD{0};
  });
  services_.OnStop([this](const std::u16string& name, const os::fake::FakeServices::Service&) {
    if (os::AsciiLower(name) == u"vlxfmdriver") SetFirmwareDriverRunning(false);
    return os::DWORD{0};
  });
  for (const auto& entry : description_.drives) {
    drives_[entry.number] = std::make_unique<SimDrive>(entry.busType, entry.drive);
  }
  driver_.SetSegmentDelayMs(description_.driverSegmentDelayMs);
  for (const auto& entry : description_.drives) {
    links_.Add(u"\\??\\PhysicalDrive" + std::u16string(ToDigits(entry.number)),
               entry.devicePath, entry.linkOpenStatus, entry.linkQueryStatus);
  }
}

SimDrive* SimMachine::Drive(int number) {
  auto it = drives_.find(number);
  return it == drives_.end() ? nullptr : it->second.get();
}

const SimDriveEntry* SimMachine::Entry(int number) const {
  for (const auto& entry : description_.drives) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}

void SimMachine::SetFirmwareDriverRunning(bool running) {
  std::lock_guard lock(mutex_);
  driverRunning_ = running;
}

bool SimMachine::TraceTo(const std::string& path) {
  std::lock_guard lock(mutex_);
  trace_.open(path, std::ios::out | std::ios::trunc);
  return trace_.is_open();
}

int SimMachine::OpenHandles() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(handles_.size());
}

os::HANDLE SimMachine::CreateFileW(const char16_t* name, os::DWORD, os::DWORD,
                                   void*, os::DWORD, os::DWORD, os::HANDLE) {
  const std::u16string path = name == nullptr ? u"" : name;
  std::lock_guard lock(mutex_);
  Target target{-2};
  const int number = DriveNumberOf(path);
  if (number >= 0 && drives_.count(number) != 0) {
    target.drive = number;
  } else if (os::AsciiLower(path) == kDriverDevice && driverRunning_) {
    target.drive = -1;
  } else {
    errors_.SetLastError(os::kErrorFileNotFound);
    return os::InvalidHandleValue();
  }
  const os::HANDLE handle = reinterpret_cast<os::HANDLE>(nextHandle_);
  nextHandle_ += 4;
  handles_[handle] = target;
  errors_.SetLastError(os::kErrorSuccess);
  return handle;
}

os::BOOL SimMachine::DeviceIoControl(os::HANDLE device, os::DWORD code,
                                     void* in, os::DWORD inSize, void* out,
                                     os::DWORD outSize, os::DWORD* bytesReturned,
                                     void*) {
  Target target{-2};
  {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(device);
    if (it != handles_.end()) target = it->second;
  }
  os::DWORD returned = 0;
  os::DWORD error = os::kErrorInvalidHandle;
  os::BOOL result = os::kFalse;
  // A drive's reply and the driver's long transfer run without the
  // machine's lock: the driver sends to a drive while it holds none.
  if (target.drive == -1) {
    result = driver_.Control(code, in, inSize, out, outSize, returned, error);
  } else if (SimDrive* drive = Drive(target.drive)) {
    result = drive->Control(code, in, inSize, out, outSize, returned, error);
  }
  if (bytesReturned != nullptr) *bytesReturned = returned;
  Trace(target, code, in, inSize, out, returned, result, error);
  if (!result) errors_.SetLastError(error);
  return result;
}

os::BOOL SimMachine::CloseHandle(os::HANDLE object) {
  std::lock_guard lock(mutex_);
  if (handles_.erase(object) == 0) {
    errors_.SetLastError(os::kErrorInvalidHandle);
    return os::kFalse;
  }
  return os::kTrue;
}

os::HANDLE SimMachine::GetCurrentProcess() {
  return reinterpret_cast<os::HANDLE>(static_cast<std::intptr_t>(-1));
}

os::BOOL SimMachine::DuplicateHandle(os::HANDLE, os::HANDLE source, os::HANDLE,
                                     os::HANDLE* target, os::DWORD, os::BOOL,
                                     os::DWORD) {
  std::lock_guard lock(mutex_);
  auto it = handles_.find(source);
  if (it == handles_.end() || target == nullptr) {
    errors_.SetLastError(os::kErrorInvalidHandle);
    return os::kFalse;
  }
  *target = reinterpret_cast<os::HANDLE>(nextHandle_);
  nextHandle_ += 4;
  handles_[*target] = it->second;
  return os::kTrue;
}

os::HMODULE SimMachine::GetModuleHandleW(const char16_t* moduleName) {
  os::DWORD error = 0;
  const os::HMODULE module = links_.ModuleHandle(moduleName, error);
  if (module == nullptr) errors_.SetLastError(error);
  return module;
}

os::ProcAddress SimMachine::GetProcAddress(os::HMODULE module, const char* name) {
  os::DWORD error = 0;
  const os::ProcAddress routine = links_.Routine(module, name, error);
  if (routine == nullptr) errors_.SetLastError(error);
  return routine;
}

os::NTSTATUS SimMachine::NtOpenSymbolicLinkObject(os::ProcAddress routine,
                                                  os::HANDLE* link, os::DWORD,
                                                  os::ObjectAttributes* attributes) {
  return links_.Open(routine, link, attributes);
}

os::NTSTATUS SimMachine::NtQuerySymbolicLinkObject(os::ProcAddress routine,
                                                   os::HANDLE link,
                                                   os::UnicodeString* target,
                                                   std::uint32_t* returnedLength) {
  return links_.Query(routine, link, target, returnedLength);
}

os::NTSTATUS SimMachine::NtClose(os::ProcAddress routine, os::HANDLE object) {
  return links_.Close(routine, object);
}

// GUID_DEVCLASS_HDC, the hard disk controllers.
constexpr os::Guid kHdcClass = {0x4D36E96A, 0xE325, 0x11CE,
                                {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

SimShell::SimShell(const MachineDescription& machine, os::Errors& errors, os::Power& base)
    : machine_(machine), errors_(errors), base_(base), controllers_(errors, faults_) {
  for (const auto& service : machine_.controllerServices) {
    controllers_.AddDevice(kHdcClass, std::u16string(service.begin(), service.end()));
  }
}

std::vector<std::pair<os::UINT, os::DWORD>> SimShell::Restarts() const {
  std::lock_guard lock(mutex_);
  return restarts_;
}

os::BOOL SimShell::GetSystemPowerStatus(os::SystemPowerStatus* status) {
  if (machine_.powerFailCode) {
    errors_.SetLastError(*machine_.powerFailCode);
    return os::kFalse;
  }
  *status = os::SystemPowerStatus{machine_.acLineStatus, 0, 100, 0, 0xFFFFFFFFu, 0xFFFFFFFFu};
  return os::kTrue;
}

os::BOOL SimShell::OpenProcessToken(os::HANDLE process, os::DWORD access, os::HANDLE* token) {
  return base_.OpenProcessToken(process, access, token);
}

os::BOOL SimShell::LookupPrivilegeValueW(const char16_t* system, const char16_t* name,
                                         os::Luid* luid) {
  return base_.LookupPrivilegeValueW(system, name, luid);
}

os::BOOL SimShell::AdjustTokenPrivileges(os::HANDLE token, os::BOOL disableAll,
                                         os::TokenPrivileges* newState, os::DWORD length,
                                         os::TokenPrivileges* previous, os::DWORD* returned) {
  return base_.AdjustTokenPrivileges(token, disableAll, newState, length, previous, returned);
}

os::BOOL SimShell::ExitWindowsEx(os::UINT flags, os::DWORD reason) {
  std::lock_guard lock(mutex_);
  restarts_.emplace_back(flags, reason);
  return os::kTrue;
}

os::UINT SimShell::GetSystemDirectoryW(char16_t* buffer, os::UINT size) {
  return base_.GetSystemDirectoryW(buffer, size);
}

os::BOOL SimShell::CloseHandle(os::HANDLE object) { return base_.CloseHandle(object); }

os::HDEVINFO SimShell::SetupDiGetClassDevsW(const os::Guid* classGuid, const char16_t* e,
                                            void* parent, os::DWORD flags) {
  return controllers_.SetupDiGetClassDevsW(classGuid, e, parent, flags);
}

os::BOOL SimShell::SetupDiEnumDeviceInfo(os::HDEVINFO set, os::DWORD index,
                                         os::DevInfoData* data) {
  return controllers_.SetupDiEnumDeviceInfo(set, index, data);
}

os::BOOL SimShell::SetupDiGetDeviceRegistryPropertyW(os::HDEVINFO set, os::DevInfoData* data,
                                                     os::DWORD property, os::DWORD* regType,
                                                     std::uint8_t* buffer, os::DWORD size,
                                                     os::DWORD* required) {
  return controllers_.SetupDiGetDeviceRegistryPropertyW(set, data, property, regType, buffer,
                                                        size, required);
}

os::BOOL SimShell::SetupDiDestroyDeviceInfoList(os::HDEVINFO set) {
  return controllers_.SetupDiDestroyDeviceInfoList(set);
}

os::BOOL SimVersion::GetVersionExW(os::OsVersionInfo* info) {
  os::DWORD error = 0;
  if (machine_.versionFailCode) {
    errors_.SetLastError(*machine_.versionFailCode);
    return os::kFalse;
  }
  const os::BOOL ok =
      os::fake::FillVersion(info, machine_.windowsMajor, machine_.windowsMinor, error);
  if (!ok) errors_.SetLastError(error);
  return ok;
}

void SimMachine::Trace(const Target& target, os::DWORD code, const void* in,
                       os::DWORD inSize, const void* out, os::DWORD returned,
                       os::BOOL result, os::DWORD error) {
  std::lock_guard lock(mutex_);
  if (!trace_.is_open()) return;
  char head[96];
  std::snprintf(head, sizeof head, "%s code=0x%X result=%d error=%u",
                target.drive == -1 ? "driver" : ("drive" + std::to_string(target.drive)).c_str(),
                static_cast<unsigned>(code), static_cast<int>(result),
                result ? 0u : static_cast<unsigned>(error));
  // The driver's record carries the whole image: only its header is kept.
  const os::DWORD shown = target.drive == -1 ? std::min<os::DWORD>(inSize, 1395) : inSize;
  trace_ << head << " in=" << Hex(in, shown) << " out=" << Hex(out, returned) << "\n";
  trace_.flush();
}

}  // namespace sim
