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
      }, commandFaults_),
      services_(errors, nullptr) {
  services_.OnStart([this](const std::u16string& name, const os::memory::ServiceDatabase::Service& s) {
    if (os::AsciiLower(name) != u"vlxfmdriver") return os::DWORD{0};
    os::UniqueFileHandle binary(os::Sys().files.CreateFileW(
        s.binaryPath.c_str(), os::kGenericRead, os::kFileShareRead, nullptr,
        os::kOpenExisting, os::kFileAttributeNormal, nullptr));
    if (!binary.IsValid()) return os::kErrorFileNotFound;
    SetFirmwareDriverRunning(true);
    return os::DWORD{0};
  });
  services_.OnStop([this](const std::u16string& name, const os::memory::ServiceDatabase::Service&) {
    if (os::AsciiLower(name) == u"vlxfmdriver") SetFirmwareDriverRunning(false);
    return os::DWORD{0};
  });
  for (const auto& entry : description_.drives) {
    drives_[entry.number] = std::make_unique<SimDrive>(entry.busType, entry.drive);
    if (description_.firmwareInterface) {
      drives_[entry.number]->OfferFirmwareInterface(description_.driverSegmentDelayMs);
    }
  }
  driver_.SetSegmentDelayMs(description_.driverSegmentDelayMs);
  for (const auto& entry : description_.drives) {
    links_.Add(u"\\??\\PhysicalDrive" + std::u16string(ToDigits(entry.number)),
               entry.devicePath, entry.linkOpenStatus, entry.linkQueryStatus);
  }
}

void SimMachine::PowerCycle() {
  for (auto& [number, drive] : drives_) drive->device().PowerCycle();
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

os::DeviceHandle SimMachine::CreateFileW(const char16_t* name, os::DWORD, os::DWORD,
                                         void*, os::DWORD, os::DWORD, os::DeviceHandle) {
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
  const auto handle = reinterpret_cast<os::DeviceHandle>(nextHandle_);
  nextHandle_ += 4;
  handles_[handle] = target;
  errors_.SetLastError(os::kErrorSuccess);
  return handle;
}

os::BOOL SimMachine::DeviceIoControl(os::DeviceHandle device, os::DWORD code,
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
    if (commandFaults_.Next(CommandFaults::kDriver, code) != InjectedFault::None) {
      error = os::kErrorGenFailure;
    } else {
      result = driver_.Control(code, in, inSize, out, outSize, returned, error);
    }
  } else if (SimDrive* drive = Drive(target.drive)) {
    result = drive->Control(code, in, inSize, out, outSize, returned, error,
                            commandFaults_.Next(target.drive, code));
  }
  if (bytesReturned != nullptr) *bytesReturned = returned;
  Trace(target, code, in, inSize, out, returned, result, error);
  if (!result) errors_.SetLastError(error);
  return result;
}

os::BOOL SimMachine::CloseHandle(os::DeviceHandle object) {
  std::lock_guard lock(mutex_);
  if (handles_.erase(object) == 0) {
    errors_.SetLastError(os::kErrorInvalidHandle);
    return os::kFalse;
  }
  return os::kTrue;
}

os::BOOL SimMachine::DuplicateHandle(os::ProcessHandle, os::DeviceHandle source,
                                     os::ProcessHandle, os::DeviceHandle* target, os::DWORD,
                                     os::BOOL, os::DWORD) {
  std::lock_guard lock(mutex_);
  auto it = handles_.find(source);
  if (it == handles_.end() || target == nullptr) {
    errors_.SetLastError(os::kErrorInvalidHandle);
    return os::kFalse;
  }
  *target = reinterpret_cast<os::DeviceHandle>(nextHandle_);
  nextHandle_ += 4;
  handles_[*target] = it->second;
  return os::kTrue;
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
