#include "os/memory/device_info_sets.h"

#include <cstring>

#include "os/constants.h"

namespace os::memory {

bool SameGuid(const Guid& a, const Guid& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::memcmp(a.Data4, b.Data4, 8) == 0;
}

void DeviceInfoSets::AddDevice(const Guid& classGuid, std::u16string service) {
  std::lock_guard lock(mutex_);
  devices_.push_back({classGuid, std::move(service)});
}

int DeviceInfoSets::OpenLists() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(lists_.size());
}

HDEVINFO DeviceInfoSets::SetupDiGetClassDevsW(const Guid* classGuid, const char16_t*, void*,
                                         DWORD) {
  if (auto code = Strike(gate_, "setup", "SetupDiGetClassDevsW")) {
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

BOOL DeviceInfoSets::SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, DevInfoData* data) {
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

BOOL DeviceInfoSets::SetupDiGetDeviceRegistryPropertyW(HDEVINFO set, DevInfoData* data,
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
    errors_.SetLastError(kErrorInvalidData);  // no such property
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

BOOL DeviceInfoSets::SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  std::lock_guard lock(mutex_);
  if (lists_.erase(set) == 0) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  return kTrue;
}

}  // namespace os::memory
