#include "update/driver_helper.h"

#include "app/settings.h"
#include "os/constants.h"
#include "os/ioctl.h"
#include "os/system.h"
#include "update/firmware_update_record.h"

namespace {

constexpr char16_t kFile[] = u"DriverHelper";
constexpr char16_t kServiceName[] = u"VLXFMDriver";
constexpr char16_t kDisplayName[] = u"Veltrax Corporation Firmware Update Driver";
constexpr char16_t kDevicePath[] = u"\\\\.\\VLXFMDriver";
constexpr char16_t kBinary64[] = u"VLXFMDriver64.sys";
constexpr char16_t kBinary32[] = u"VLXFMDriver32.sys";

os::DWORD LastError() { return os::Sys().errors.GetLastError(); }

// The service control manager of the local machine's active database, for
// creating services; closed by its destructor.
class Manager {
 public:
  Manager()
      : handle_(os::Sys().services.OpenSCManagerW(nullptr, nullptr,
                                                  os::kScManagerCreateService)) {}
  ~Manager() {
    if (handle_ != nullptr) Close(handle_);
  }
  Manager(const Manager&) = delete;
  Manager& operator=(const Manager&) = delete;

  os::SC_HANDLE get() const { return handle_; }
  static void Close(os::SC_HANDLE handle) {
    auto& errors = os::Sys().errors;
    const os::DWORD saved = errors.GetLastError();
    os::Sys().services.CloseServiceHandle(handle);
    errors.SetLastError(saved);
  }

 private:
  os::SC_HANDLE handle_;
};

}  // namespace

bool IsWindows64() {
  auto& process = os::Sys().process;
  const os::HMODULE kernel32 = process.GetModuleHandleW(u"kernel32");
  if (kernel32 == nullptr) return false;
  const os::ProcAddress isWow64 = process.GetProcAddress(kernel32, "IsWow64Process");
  if (isWow64 == nullptr) return false;
  os::BOOL wow64 = os::kFalse;
  return process.IsWow64Process(isWow64, process.GetCurrentProcess(), &wow64) &&
         wow64 != os::kFalse;
}

CDriverHelper::~CDriverHelper() {
  StopDriverAndRemove();
  if (serviceHandle != nullptr) Manager::Close(serviceHandle);
}

app::ErrorInfoPtr CDriverHelper::CreateDriverService(os::SC_HANDLE* keep) {
  constexpr char16_t kFunction[] = u"CDriverHelper::CreateDriverService";
  auto result = app::MakeErrorInfo(kFile, 117, kFunction);
  if (keep != nullptr) *keep = nullptr;
  auto& services = os::Sys().services;
  Manager manager;
  if (manager.get() == nullptr) {
    result->Fail(LastError(), kFile, 212, kFunction);
    return result;
  }
  const std::u16string binary = app::Settings().moduleFolder + u"\\" +
                                (IsWindows64() ? kBinary64 : kBinary32);
  os::SC_HANDLE service = services.CreateServiceW(
      manager.get(), kServiceName, kDisplayName, os::kServiceAllAccess,
      os::kServiceKernelDriver, os::kServiceDemandStart, os::kServiceErrorNormal,
      binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
  if (service == nullptr) {
    const os::DWORD error = LastError();
    if (error != os::kErrorServiceExists && error != os::kErrorDuplicateServiceName) {
      result->Fail(error, kFile, 180, kFunction);
      return result;
    }
    // One left by an earlier run is used as it is.
    service = services.OpenServiceW(manager.get(), kServiceName, os::kServiceAllAccess);
    if (service == nullptr) {
      result->Fail(LastError(), kFile, 175, kFunction);
      return result;
    }
  }
  if (keep != nullptr) {
    *keep = service;
  } else {
    Manager::Close(service);
  }
  return result;
}

app::ErrorInfoPtr CDriverHelper::StartDriver() {
  constexpr char16_t kFunction[] = u"CDriverHelper::StartDriver";
  auto result = app::MakeErrorInfo(kFile, 278, kFunction);
  if (!os::Sys().services.StartServiceW(serviceHandle, 0, nullptr)) {
    const os::DWORD error = LastError();
    if (error != os::kErrorServiceAlreadyRunning) result->Fail(error, kFile, 285, kFunction);
  }
  return result;
}

app::ErrorInfoPtr CDriverHelper::StopDriver() {
  constexpr char16_t kFunction[] = u"CDriverHelper::StopDriver";
  auto result = app::MakeErrorInfo(kFile, 294, kFunction);
  os::ServiceStatus status{};
  if (!os::Sys().services.ControlService(serviceHandle, os::kServiceControlStop, &status)) {
    const os::DWORD error = LastError();
    if (error != os::kErrorServiceNotActive) result->Fail(error, kFile, 304, kFunction);
  }
  return result;
}

app::ErrorInfoPtr CDriverHelper::RemoveDriverService(CDriverHelper* helper) {
  constexpr char16_t kFunction[] = u"CDriverHelper::RemoveDriverService";
  auto result = app::MakeErrorInfo(kFile, 222, kFunction);
  auto& services = os::Sys().services;
  if (helper != nullptr) {
    if (!services.DeleteService(helper->serviceHandle)) {
      result->Fail(LastError(), kFile, 233, kFunction);
      return result;
    }
    Manager::Close(helper->serviceHandle);
    helper->serviceHandle = nullptr;
    return result;
  }
  Manager manager;
  if (manager.get() == nullptr) {
    result->Fail(LastError(), kFile, 269, kFunction);
    return result;
  }
  const os::SC_HANDLE service =
      services.OpenServiceW(manager.get(), kServiceName, os::kServiceAllAccess);
  if (service == nullptr) {
    result->Fail(LastError(), kFile, 259, kFunction);
    return result;
  }
  if (!services.DeleteService(service)) result->Fail(LastError(), kFile, 249, kFunction);
  Manager::Close(service);
  return result;
}

app::ErrorInfoPtr CDriverHelper::CreateAndStartDriver() {
  auto result = CreateDriverService(&serviceHandle);
  if (!app::IsSuccess(result)) return result;
  result = StartDriver();
  if (app::IsSuccess(result)) {
    deviceHandle = os::Sys().devices.CreateFileW(
        kDevicePath, os::kGenericRead | os::kGenericWrite,
        os::kFileShareRead | os::kFileShareWrite, nullptr, os::kOpenExisting, 0, nullptr);
    if (deviceHandle == os::InvalidHandleValue()) {
      result->Fail(LastError(), kFile, 59, u"CDriverHelper::CreateAndStartDriver");
    }
  }
  // Roll back: the service is deleted without a stop request.
  if (!app::IsSuccess(result)) RemoveDriverService(this);
  return result;
}

app::ErrorInfoPtr CDriverHelper::SendUpdateFirmwareIOCTL(FirmwareUpdateRecord& record,
                                                         std::uint32_t size) {
  constexpr char16_t kFunction[] = u"CDriverHelper::SendUpdateFirmwareIOCTL";
  auto result = app::MakeErrorInfo(kFile, 313, kFunction);
  os::DWORD returned = 0;
  // The output, driverStatus, lies inside the input.
  if (!os::Sys().devices.DeviceIoControl(
          deviceHandle, IOCTL_UPDATE_FIRMWARE, record.data(), size,
          record.data() + record::kDriverStatus, record::kDriverStatusOutput, &returned,
          nullptr)) {
    result->Fail(LastError(), kFile, 330, kFunction);
  }
  return result;
}

app::ErrorInfoPtr CDriverHelper::StopDriverAndRemove() {
  auto result = app::MakeErrorInfo(kFile, 81, u"CDriverHelper::StopDriverAndRemove");
  if (deviceHandle != nullptr && deviceHandle != os::InvalidHandleValue()) {
    os::Sys().devices.CloseHandle(deviceHandle);
    deviceHandle = os::InvalidHandleValue();
  }
  if (serviceHandle != nullptr) {
    result = StopDriver();
    if (app::IsSuccess(result)) result = RemoveDriverService(this);
  }
  return result;
}

app::ErrorInfoPtr InstallDriverService() {
  CDriverHelper helper;
  return helper.CreateDriverService(nullptr);
}

void UninstallDriverService() {
  CDriverHelper helper;
  helper.RemoveDriverService(nullptr);
}
