#include "os/fake/fake_shell.h"

#include <algorithm>
#include <cstring>

#include "os/constants.h"

namespace os::fake {
namespace {

HANDLE const kToken = reinterpret_cast<HANDLE>(0x6700004);

}  // namespace

bool SameGuid(const Guid& a, const Guid& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::memcmp(a.Data4, b.Data4, 8) == 0;
}

BOOL FakePower::GetSystemPowerStatus(SystemPowerStatus* status) {
  if (auto code = faults_.Take("GetSystemPowerStatus")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  *status = SystemPowerStatus{acLineStatus, 0, 100, 0, 0xFFFFFFFFu, 0xFFFFFFFFu};
  return kTrue;
}

BOOL FakePower::OpenProcessToken(HANDLE, DWORD, HANDLE* token) {
  if (auto code = faults_.Take("OpenProcessToken")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  *token = kToken;
  return kTrue;
}

BOOL FakePower::LookupPrivilegeValueW(const char16_t*, const char16_t* name, Luid* luid) {
  privilegesLookedUp.emplace_back(name == nullptr ? u"" : name);
  *luid = Luid{19, 0};  // SE_SHUTDOWN_PRIVILEGE
  return kTrue;
}

// As Windows: success, and ERROR_NOT_ALL_ASSIGNED in the last error when
// the token does not hold the privilege.
BOOL FakePower::AdjustTokenPrivileges(HANDLE token, BOOL, TokenPrivileges*, DWORD,
                                      TokenPrivileges*, DWORD*) {
  if (token != kToken) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  errors_.SetLastError(shutdownPrivilegeHeld ? kErrorSuccess : kErrorNotAllAssigned);
  return kTrue;
}

BOOL FakePower::ExitWindowsEx(UINT flags, DWORD reason) {
  if (auto code = faults_.Take("ExitWindowsEx")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  restarts.emplace_back(flags, reason);
  return kTrue;
}

UINT FakePower::GetSystemDirectoryW(char16_t* buffer, UINT size) {
  if (auto code = faults_.Take("GetSystemDirectoryW")) {
    errors_.SetLastError(*code);
    return 0;
  }
  const auto length = static_cast<UINT>(systemDirectory.size());
  if (length + 1 > size) return length + 1;
  std::copy_n(systemDirectory.data(), length, buffer);
  buffer[length] = u'\0';
  return length;
}

BOOL FakePower::CloseHandle(HANDLE object) {
  if (object != kToken) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  return kTrue;
}

std::vector<FakeMessages::Box> FakeMessages::Boxes() const {
  std::lock_guard lock(mutex_);
  return boxes_;
}

int FakeMessages::MessageBoxW(HWND, const char16_t* text, const char16_t* caption,
                              UINT type) {
  std::lock_guard lock(mutex_);
  boxes_.push_back({text == nullptr ? u"" : text, caption == nullptr ? u"" : caption, type});
  if (!answers.empty()) {
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return (type & 0xF) == kMbOk ? kIdOk : kIdNo;
}

void FakeSetup::AddDevice(const Guid& classGuid, std::u16string service) {
  std::lock_guard lock(mutex_);
  devices_.push_back({classGuid, std::move(service)});
}

int FakeSetup::OpenLists() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(lists_.size());
}

HDEVINFO FakeSetup::SetupDiGetClassDevsW(const Guid* classGuid, const char16_t*, void*,
                                         DWORD) {
  if (auto code = faults_.Take("SetupDiGetClassDevsW")) {
    errors_.SetLastError(*code);
    return InvalidHandleValue();
  }
  std::lock_guard lock(mutex_);
  std::vector<std::u16string> services;
  for (const auto& d : devices_) {
    if (classGuid != nullptr && SameGuid(d.classGuid, *classGuid)) services.push_back(d.service);
  }
  const HDEVINFO set = reinterpret_cast<HDEVINFO>(next_);
  next_ += 4;
  lists_[set] = std::move(services);
  return set;
}

BOOL FakeSetup::SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, DevInfoData* data) {
  std::lock_guard lock(mutex_);
  auto it = lists_.find(set);
  if (it == lists_.end() || data == nullptr) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  if (index >= it->second.size()) {
    errors_.SetLastError(kErrorNoMoreItems);
    return kFalse;
  }
  data->DevInst = index + 1;
  return kTrue;
}

BOOL FakeSetup::SetupDiGetDeviceRegistryPropertyW(HDEVINFO set, DevInfoData* data,
                                                  DWORD property, DWORD* regType,
                                                  std::uint8_t* buffer, DWORD bufferSize,
                                                  DWORD* requiredSize) {
  std::lock_guard lock(mutex_);
  auto it = lists_.find(set);
  if (it == lists_.end() || data == nullptr || data->DevInst == 0 ||
      data->DevInst > it->second.size()) {
    errors_.SetLastError(kErrorInvalidParameter);
    return kFalse;
  }
  const std::u16string& service = it->second[data->DevInst - 1];
  if (property != kSpdrpService || service.empty()) {
    errors_.SetLastError(13);  // ERROR_INVALID_DATA: no such property
    return kFalse;
  }
  const DWORD bytes = static_cast<DWORD>((service.size() + 1) * 2);
  if (requiredSize != nullptr) *requiredSize = bytes;
  if (regType != nullptr) *regType = kRegSz;
  if (bytes > bufferSize) {
    errors_.SetLastError(kErrorInsufficientBuffer);
    return kFalse;
  }
  std::memcpy(buffer, service.c_str(), bytes);
  return kTrue;
}

BOOL FakeSetup::SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  std::lock_guard lock(mutex_);
  if (lists_.erase(set) == 0) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  return kTrue;
}

}  // namespace os::fake
