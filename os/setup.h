// SetupAPI's device enumeration: the disk controllers and their driver
// services.
#pragma once

#include <cstdint>

#include "os/types.h"

namespace os {

struct Guid {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};

// SP_DEVINFO_DATA; cbSize is the size of the platform's structure.
struct DevInfoData {
  DWORD cbSize;
  Guid ClassGuid;
  DWORD DevInst;
  std::uintptr_t Reserved;
};

// GUID_DEVCLASS_HDC {4D36E96A-E325-11CE-BFC1-08002BE10318}, the hard disk
// controllers. devguid.h defines it as a variable, so the binding cannot
// check it at compile time.
constexpr Guid kGuidDevClassHdc = {0x4D36E96A, 0xE325, 0x11CE,
                                   {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

class Setup {
 public:
  virtual ~Setup() = default;
  virtual HDEVINFO SetupDiGetClassDevsW(const Guid* classGuid, const char16_t* enumerator,
                                        void* parent, DWORD flags) = 0;
  virtual BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, DevInfoData* data) = 0;
  virtual BOOL SetupDiGetDeviceRegistryPropertyW(HDEVINFO set, DevInfoData* data,
                                                 DWORD property, DWORD* regType,
                                                 std::uint8_t* buffer, DWORD bufferSize,
                                                 DWORD* requiredSize) = 0;
  virtual BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) = 0;
};

}  // namespace os
