#include "update/driver_helper.h"

#include "base/settings.h"
#include "os/constants.h"
#include "os/ioctl.h"
#include "os/system.h"
#include "update/firmware_update_record.h"

namespace update {

namespace {

constexpr char16_t kFile[] = u"DriverHelper";

// Where the driver helper's steps record their failures. An entry site is
// what the record holds while its step succeeds.
namespace site {
constexpr std::int32_t kCreateDriverServiceEntry = 117;
constexpr std::int32_t kManagerOpenFailed = 212;
constexpr std::int32_t kServiceCreateFailed = 180;
constexpr std::int32_t kServiceOpenFailed = 175;
constexpr std::int32_t kStartDriverEntry = 278;
constexpr std::int32_t kStartFailed = 285;
constexpr std::int32_t kStopDriverEntry = 294;
constexpr std::int32_t kStopFailed = 304;
constexpr std::int32_t kRemoveDriverServiceEntry = 222;
constexpr std::int32_t kDeleteOwnFailed = 233;
constexpr std::int32_t kRemoveManagerOpenFailed = 269;
constexpr std::int32_t kRemoveOpenFailed = 259;
constexpr std::int32_t kDeleteByNameFailed = 249;
constexpr std::int32_t kDeviceOpenFailed = 59;
constexpr std::int32_t kSendUpdateFirmwareIoctlEntry = 313;
constexpr std::int32_t kIoctlFailed = 330;
constexpr std::int32_t kStopDriverAndRemoveEntry = 81;
}  // namespace site
constexpr char16_t kServiceName[] = u"VLXFMDriver";
constexpr char16_t kDisplayName[] = u"Veltrax Corporation Firmware Update Driver";
constexpr char16_t kDevicePath[] = u"\\\\.\\VLXFMDriver";
constexpr char16_t kBinary64[] = u"VLXFMDriver64.sys";
constexpr char16_t kBinary32[] = u"VLXFMDriver32.sys";

os::DWORD LastError() { return os::Sys().errors.GetLastError(); }

// The service control manager of the local machine's active database, for
// creating services.
os::UniqueServiceHandle OpenManager() {
  return os::UniqueServiceHandle(
      os::Sys().services.OpenSCManagerW(nullptr, nullptr, os::kScManagerCreateService));
}

}  // namespace

bool IsWindows64() {
  auto& process = os::Sys().process;
  auto& modules = os::Sys().modules;
  const os::HMODULE kernel32 = modules.GetModuleHandleW(u"kernel32");
  if (kernel32 == nullptr) return false;
  const os::ProcAddress isWow64 = modules.GetProcAddress(kernel32, "IsWow64Process");
  if (isWow64 == nullptr) return false;
  os::BOOL wow64 = os::kFalse;
  return process.IsWow64Process(isWow64, process.GetCurrentProcess(), &wow64) &&
         wow64 != os::kFalse;
}

CDriverHelper::~CDriverHelper() { StopDriverAndRemove(); }

base::ErrorInfoPtr CDriverHelper::CreateDriverService(os::UniqueServiceHandle* keep) {
  constexpr char16_t kFunction[] = u"CDriverHelper::CreateDriverService";
  auto result = base::MakeErrorInfo(kFile, site::kCreateDriverServiceEntry, kFunction);
  if (keep != nullptr) keep->Reset();
  auto& services = os::Sys().services;
  const os::UniqueServiceHandle manager = OpenManager();
  if (!manager.IsValid()) {
    result->Fail(LastError(), kFile, site::kManagerOpenFailed, kFunction);
    return result;
  }
  const std::u16string binary = base::Settings().moduleFolder + u"\\" +
                                (IsWindows64() ? kBinary64 : kBinary32);
  os::UniqueServiceHandle service(services.CreateServiceW(
      manager.Get(), kServiceName, kDisplayName, os::kServiceAllAccess,
      os::kServiceKernelDriver, os::kServiceDemandStart, os::kServiceErrorNormal,
      binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
  if (!service.IsValid()) {
    const os::DWORD error = LastError();
    if (error != os::kErrorServiceExists && error != os::kErrorDuplicateServiceName) {
      result->Fail(error, kFile, site::kServiceCreateFailed, kFunction);
      return result;
    }
    // One left by an earlier run is used as it is.
    service.Reset(services.OpenServiceW(manager.Get(), kServiceName, os::kServiceAllAccess));
    if (!service.IsValid()) {
      result->Fail(LastError(), kFile, site::kServiceOpenFailed, kFunction);
      return result;
    }
  }
  if (keep != nullptr) *keep = std::move(service);
  return result;
}

base::ErrorInfoPtr CDriverHelper::StartDriver() {
  constexpr char16_t kFunction[] = u"CDriverHelper::StartDriver";
  auto result = base::MakeErrorInfo(kFile, site::kStartDriverEntry, kFunction);
  if (!os::Sys().services.StartServiceW(serviceHandle.Get(), 0, nullptr)) {
    const os::DWORD error = LastError();
    if (error != os::kErrorServiceAlreadyRunning) result->Fail(error, kFile, site::kStartFailed, kFunction);
  }
  return result;
}

base::ErrorInfoPtr CDriverHelper::StopDriver() {
  constexpr char16_t kFunction[] = u"CDriverHelper::StopDriver";
  auto result = base::MakeErrorInfo(kFile, site::kStopDriverEntry, kFunction);
  os::ServiceStatus status{};
  if (!os::Sys().services.ControlService(serviceHandle.Get(), os::kServiceControlStop, &status)) {
    const os::DWORD error = LastError();
    if (error != os::kErrorServiceNotActive) result->Fail(error, kFile, site::kStopFailed, kFunction);
  }
  return result;
}

base::ErrorInfoPtr CDriverHelper::RemoveDriverService(CDriverHelper* helper) {
  constexpr char16_t kFunction[] = u"CDriverHelper::RemoveDriverService";
  auto result = base::MakeErrorInfo(kFile, site::kRemoveDriverServiceEntry, kFunction);
  auto& services = os::Sys().services;
  if (helper != nullptr) {
    if (!services.DeleteService(helper->serviceHandle.Get())) {
      result->Fail(LastError(), kFile, site::kDeleteOwnFailed, kFunction);
      return result;
    }
    helper->serviceHandle.Reset();
    return result;
  }
  const os::UniqueServiceHandle manager = OpenManager();
  if (!manager.IsValid()) {
    result->Fail(LastError(), kFile, site::kRemoveManagerOpenFailed, kFunction);
    return result;
  }
  const os::UniqueServiceHandle service(
      services.OpenServiceW(manager.Get(), kServiceName, os::kServiceAllAccess));
  if (!service.IsValid()) {
    result->Fail(LastError(), kFile, site::kRemoveOpenFailed, kFunction);
    return result;
  }
  if (!services.DeleteService(service.Get())) result->Fail(LastError(), kFile, site::kDeleteByNameFailed, kFunction);
  return result;
}

base::ErrorInfoPtr CDriverHelper::CreateAndStartDriver() {
  auto result = CreateDriverService(&serviceHandle);
  if (!base::IsSuccess(result)) return result;
  result = StartDriver();
  if (base::IsSuccess(result)) {
    deviceHandle.Reset(os::Sys().devices.CreateFileW(
        kDevicePath, os::kGenericRead | os::kGenericWrite,
        os::kFileShareRead | os::kFileShareWrite, nullptr, os::kOpenExisting, 0, nullptr));
    if (!deviceHandle.IsValid()) {
      result->Fail(LastError(), kFile, site::kDeviceOpenFailed, u"CDriverHelper::CreateAndStartDriver");
    }
  }
  // Roll back: the service is deleted without a stop request.
  if (!base::IsSuccess(result)) RemoveDriverService(this);
  return result;
}

base::ErrorInfoPtr CDriverHelper::SendUpdateFirmwareIOCTL(FirmwareUpdateRecord& record,
                                                         std::uint32_t size) {
  constexpr char16_t kFunction[] = u"CDriverHelper::SendUpdateFirmwareIOCTL";
  auto result = base::MakeErrorInfo(kFile, site::kSendUpdateFirmwareIoctlEntry, kFunction);
  os::DWORD returned = 0;
  // The output, driverStatus, lies inside the input.
  if (!os::Sys().devices.DeviceIoControl(
          deviceHandle.Get(), IOCTL_UPDATE_FIRMWARE, record.data(), size,
          record.data() + record::kDriverStatus, record::kDriverStatusOutput, &returned,
          nullptr)) {
    result->Fail(LastError(), kFile, site::kIoctlFailed, kFunction);
  }
  return result;
}

base::ErrorInfoPtr CDriverHelper::Transfer(const drives::CDrive&, FirmwareUpdateRecord& record) {
  return SendUpdateFirmwareIOCTL(record, record.size());
}

base::ErrorInfoPtr CDriverHelper::StopDriverAndRemove() {
  auto result = base::MakeErrorInfo(kFile, site::kStopDriverAndRemoveEntry, u"CDriverHelper::StopDriverAndRemove");
  deviceHandle.Reset();
  if (serviceHandle.IsValid()) {
    result = StopDriver();
    if (base::IsSuccess(result)) result = RemoveDriverService(this);
  }
  return result;
}

base::ErrorInfoPtr InstallDriverService() {
  CDriverHelper helper;
  return helper.CreateDriverService(nullptr);
}

void UninstallDriverService() {
  CDriverHelper helper;
  helper.RemoveDriverService(nullptr);
}

}  // namespace update
