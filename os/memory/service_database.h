// A service control manager in memory: a service database with states. A
// service is gone once deleted and its last handle closed; until then it
// is marked for deletion, as on Windows.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "os/errors.h"
#include "os/memory/call_gate.h"
#include "os/services.h"

namespace os::memory {

class ServiceDatabase final : public Services {
 public:
  struct Service {
    std::u16string displayName;
    DWORD serviceType = 0;
    DWORD startType = 0;
    std::u16string binaryPath;
    bool running = false;
    bool markedForDelete = false;
  };
  // What starting or stopping a service does: 0, or the error to fail with.
  using Hook = std::function<DWORD(const std::u16string& name, const Service&)>;

  ServiceDatabase(Errors& errors, CallGate* gate) : errors_(errors), gate_(gate) {}

  void OnStart(Hook hook) { onStart_ = std::move(hook); }
  void OnStop(Hook hook) { onStop_ = std::move(hook); }
  void Add(const std::u16string& name, Service service);
  std::optional<Service> Find(const std::u16string& name) const;
  int OpenHandles() const;
  // How many services CreateServiceW has made, deleted ones included.
  int Creations() const;

  SC_HANDLE OpenSCManagerW(const char16_t* machineName, const char16_t* databaseName,
                           DWORD desiredAccess) override;
  SC_HANDLE CreateServiceW(SC_HANDLE manager, const char16_t* serviceName,
                           const char16_t* displayName, DWORD desiredAccess,
                           DWORD serviceType, DWORD startType, DWORD errorControl,
                           const char16_t* binaryPathName, const char16_t* loadOrderGroup,
                           DWORD* tagId, const char16_t* dependencies,
                           const char16_t* serviceStartName,
                           const char16_t* password) override;
  SC_HANDLE OpenServiceW(SC_HANDLE manager, const char16_t* serviceName,
                         DWORD desiredAccess) override;
  BOOL StartServiceW(SC_HANDLE service, DWORD argumentCount,
                     const char16_t** arguments) override;
  BOOL ControlService(SC_HANDLE service, DWORD control, ServiceStatus* status) override;
  BOOL DeleteService(SC_HANDLE service) override;
  BOOL CloseServiceHandle(SC_HANDLE object) override;

 private:
  static std::u16string KeyOf(const char16_t* name);
  SC_HANDLE NewHandle(const std::u16string& key);
  Service* ServiceOf(SC_HANDLE handle);
  void RemoveIfUnused(const std::u16string& key);
  SC_HANDLE FailHandle(DWORD code);
  BOOL Fail(DWORD code);

  Errors& errors_;
  CallGate* gate_;
  Hook onStart_;
  Hook onStop_;
  mutable std::mutex mutex_;
  std::map<std::u16string, Service> services_;  // by lower-case name
  std::map<SC_HANDLE, std::u16string> handles_;  // empty key: the manager
  int creations_ = 0;
  std::uintptr_t nextHandle_ = 0x6100000;
};

}  // namespace os::memory
