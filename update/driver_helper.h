// The firmware driver's service: registered as the demand-start kernel
// service "VLXFMDriver", started, called once per drive through its device
// "\\.\VLXFMDriver", stopped and deleted again, so no trace of it stays in
// the service database after an update on the driver road.
#pragma once

#include <memory>

#include "app/error_info.h"
#include "os/scoped_handle.h"
#include "os/services.h"

class FirmwareUpdateRecord;

class CDriverHelper {
 public:
  CDriverHelper() = default;
  // Stops and removes what is left, then closes a handle a failed stop kept.
  ~CDriverHelper();
  CDriverHelper(const CDriverHelper&) = delete;
  CDriverHelper& operator=(const CDriverHelper&) = delete;

  // Registers the service or opens the one that exists; the handle goes to
  // `keep` when given, else it is closed.
  app::ErrorInfoPtr CreateDriverService(os::SC_HANDLE* keep);
  app::ErrorInfoPtr StartDriver();
  app::ErrorInfoPtr StopDriver();
  // Through `helper`'s service handle, or by name when none is given.
  app::ErrorInfoPtr RemoveDriverService(CDriverHelper* helper);
  app::ErrorInfoPtr CreateAndStartDriver();
  app::ErrorInfoPtr SendUpdateFirmwareIOCTL(FirmwareUpdateRecord& record,
                                            std::uint32_t size);
  app::ErrorInfoPtr StopDriverAndRemove();

  os::SC_HANDLE serviceHandle = nullptr;
  os::HANDLE deviceHandle = os::InvalidHandleValue();
};

using CDriverHelperPtr = std::shared_ptr<CDriverHelper>;

// The native road registers the service for the next boot; the clean-up
// after it removes the service by name.
app::ErrorInfoPtr InstallDriverService();
void UninstallDriverService();

// True on 64-bit Windows: IsWow64Process exists in kernel32, succeeds and
// reports TRUE.
bool IsWindows64();
