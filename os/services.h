// The service control manager: how the firmware driver is registered,
// started, stopped and removed.
#pragma once

#include "os/types.h"

namespace os {

// SERVICE_STATUS.
struct ServiceStatus {
  DWORD dwServiceType;
  DWORD dwCurrentState;
  DWORD dwControlsAccepted;
  DWORD dwWin32ExitCode;
  DWORD dwServiceSpecificExitCode;
  DWORD dwCheckPoint;
  DWORD dwWaitHint;
};

class Services {
 public:
  virtual ~Services() = default;
  virtual SC_HANDLE OpenSCManagerW(const char16_t* machineName,
                                   const char16_t* databaseName,
                                   DWORD desiredAccess) = 0;
  virtual SC_HANDLE CreateServiceW(SC_HANDLE manager, const char16_t* serviceName,
                                   const char16_t* displayName, DWORD desiredAccess,
                                   DWORD serviceType, DWORD startType,
                                   DWORD errorControl, const char16_t* binaryPathName,
                                   const char16_t* loadOrderGroup, DWORD* tagId,
                                   const char16_t* dependencies,
                                   const char16_t* serviceStartName,
                                   const char16_t* password) = 0;
  virtual SC_HANDLE OpenServiceW(SC_HANDLE manager, const char16_t* serviceName,
                                 DWORD desiredAccess) = 0;
  virtual BOOL StartServiceW(SC_HANDLE service, DWORD argumentCount,
                             const char16_t** arguments) = 0;
  virtual BOOL ControlService(SC_HANDLE service, DWORD control,
                              ServiceStatus* status) = 0;
  virtual BOOL DeleteService(SC_HANDLE service) = 0;
  virtual BOOL CloseServiceHandle(SC_HANDLE object) = 0;
};

}  // namespace os
