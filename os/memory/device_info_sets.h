// SetupAPI's device enumeration in memory: present devices by setup class,
// each with its driver service, listed into device information sets.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "os/errors.h"
#include "os/memory/call_gate.h"
#include "os/setup.h"

namespace os::memory {

class DeviceInfoSets final : public Setup {
 public:
  DeviceInfoSets(Errors& errors, CallGate* gate) : errors_(errors), gate_(gate) {}

  // A present device of `classGuid`, with its driver service name; an empty
  // name makes the property unreadable.
  void AddDevice(const Guid& classGuid, std::u16string service);
  int OpenLists() const;

  HDEVINFO SetupDiGetClassDevsW(const Guid* classGuid, const char16_t* enumerator,
                                void* parent, DWORD flags) override;
  BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, DevInfoData* data) override;
  BOOL SetupDiGetDeviceRegistryPropertyW(HDEVINFO set, DevInfoData* data, DWORD property,
                                         DWORD* regType, std::uint8_t* buffer,
                                         DWORD bufferSize, DWORD* requiredSize) override;
  BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) override;

 private:
  struct Device {
    Guid classGuid;
    std::u16string service;
  };
  Errors& errors_;
  CallGate* gate_;
  mutable std::mutex mutex_;
  std::vector<Device> devices_;
  std::map<HDEVINFO, std::vector<std::u16string>> lists_;
  std::uintptr_t next_ = 0x6800000;
};

bool SameGuid(const Guid& a, const Guid& b);

}  // namespace os::memory
