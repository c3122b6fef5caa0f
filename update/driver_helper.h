// The firmware driver's service: registered as the demand-start kernel
// service "VLXFMDriver", started, called once per drive through its device
// "\\.\VLXFMDriver", stopped and deleted again, so no trace of it stays in
// the service database after an update on the driver road.
#pragma once

#include <memory>

#include "base/error_info.h"
#include "os/scoped_handle.h"
#include "os/services.h"
#include "update/firmware_channel.h"

namespace update {

class FirmwareUpdateRecord;

class CDriverHelper final : public FirmwareChannel {
 public:
  CDriverHelper() = default;
  // Stops and removes what is left; the handles close with the members.
  ~CDriverHelper() override;
  CDriverHelper(const CDriverHelper&) = delete;
  CDriverHelper& operator=(const CDriverHelper&) = delete;

  // Registers the service or opens the one that exists; the handle goes to
  // `keep` when given, else it is closed.
  base::ErrorInfoPtr CreateDriverService(os::UniqueServiceHandle* keep);
  base::ErrorInfoPtr StartDriver();
  base::ErrorInfoPtr StopDriver();
  // Through `helper`'s service handle, or by name when none is given.
  base::ErrorInfoPtr RemoveDriverService(CDriverHelper* helper);
  base::ErrorInfoPtr CreateAndStartDriver();
  base::ErrorInfoPtr SendUpdateFirmwareIOCTL(FirmwareUpdateRecord& record,
                                            std::uint32_t size);
  base::ErrorInfoPtr StopDriverAndRemove();
  // The driver road: the whole record in one call.
  base::ErrorInfoPtr Transfer(const drives::CDrive& drive, FirmwareUpdateRecord& record) override;

  os::UniqueServiceHandle serviceHandle;
  os::UniqueDeviceHandle deviceHandle;
};

using CDriverHelperPtr = std::shared_ptr<CDriverHelper>;

// The native road registers the service for the next boot; the clean-up
// after it removes the service by name.
base::ErrorInfoPtr InstallDriverService();
void UninstallDriverService();

// True on 64-bit Windows: IsWow64Process exists in kernel32, succeeds and
// reports TRUE.
bool IsWindows64();

}  // namespace update
