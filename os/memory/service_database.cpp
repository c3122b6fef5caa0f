#include "os/memory/service_database.h"

#include "os/ascii_case.h"
#include "os/constants.h"

namespace os::memory {

std::u16string ServiceDatabase::KeyOf(const char16_t* name) {
  return AsciiLower(name == nullptr ? u"" : name);
}

SC_HANDLE ServiceDatabase::FailHandle(DWORD code) {
  errors_.SetLastError(code);
  return nullptr;
}

BOOL ServiceDatabase::Fail(DWORD code) {
  errors_.SetLastError(code);
  return kFalse;
}

void ServiceDatabase::Add(const std::u16string& name, Service service) {
  std::lock_guard lock(mutex_);
  services_[KeyOf(name.c_str())] = std::move(service);
}

std::optional<ServiceDatabase::Service> ServiceDatabase::Find(const std::u16string& name) const {
  std::lock_guard lock(mutex_);
  auto it = services_.find(KeyOf(name.c_str()));
  if (it == services_.end()) return std::nullopt;
  return it->second;
}

int ServiceDatabase::Creations() const {
  std::lock_guard lock(mutex_);
  return creations_;
}

int ServiceDatabase::OpenHandles() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(handles_.size());
}

SC_HANDLE ServiceDatabase::NewHandle(const std::u16string& key) {
  const SC_HANDLE handle = reinterpret_cast<SC_HANDLE>(nextHandle_);
  nextHandle_ += 4;
  handles_[handle] = key;
  return handle;
}

ServiceDatabase::Service* ServiceDatabase::ServiceOf(SC_HANDLE handle) {
  auto it = handles_.find(handle);
  if (it == handles_.end() || it->second.empty()) return nullptr;
  auto service = services_.find(it->second);
  return service == services_.end() ? nullptr : &service->second;
}

// A service marked for deletion leaves the database with its last handle.
void ServiceDatabase::RemoveIfUnused(const std::u16string& key) {
  auto it = services_.find(key);
  if (it == services_.end() || !it->second.markedForDelete) return;
  for (const auto& [handle, name] : handles_) {
    if (name == key) return;
  }
  services_.erase(it);
}

SC_HANDLE ServiceDatabase::OpenSCManagerW(const char16_t*, const char16_t*, DWORD) {
  if (auto code = Strike(gate_, "services", "OpenSCManagerW")) return FailHandle(*code);
  std::lock_guard lock(mutex_);
  return NewHandle(u"");
}

SC_HANDLE ServiceDatabase::CreateServiceW(SC_HANDLE manager, const char16_t* serviceName,
                                       const char16_t* displayName, DWORD, DWORD serviceType,
                                       DWORD startType, DWORD, const char16_t* binaryPathName,
                                       const char16_t*, DWORD*, const char16_t*,
                                       const char16_t*, const char16_t*) {
  if (auto code = Strike(gate_, "services", "CreateServiceW")) return FailHandle(*code);
  std::lock_guard lock(mutex_);
  auto it = handles_.find(manager);
  if (it == handles_.end() || !it->second.empty()) return FailHandle(kErrorInvalidHandle);
  const std::u16string key = KeyOf(serviceName);
  auto existing = services_.find(key);
  if (existing != services_.end()) {
    return FailHandle(existing->second.markedForDelete ? kErrorServiceMarkedForDelete
                                                       : kErrorServiceExists);
  }
  Service service;
  service.displayName = displayName == nullptr ? u"" : displayName;
  service.serviceType = serviceType;
  service.startType = startType;
  service.binaryPath = binaryPathName == nullptr ? u"" : binaryPathName;
  services_[key] = service;
  ++creations_;
  return NewHandle(key);
}

SC_HANDLE ServiceDatabase::OpenServiceW(SC_HANDLE manager, const char16_t* serviceName, DWORD) {
  if (auto code = Strike(gate_, "services", "OpenServiceW")) return FailHandle(*code);
  std::lock_guard lock(mutex_);
  auto it = handles_.find(manager);
  if (it == handles_.end() || !it->second.empty()) return FailHandle(kErrorInvalidHandle);
  const std::u16string key = KeyOf(serviceName);
  auto service = services_.find(key);
  if (service == services_.end() || service->second.markedForDelete) {
    return FailHandle(kErrorServiceDoesNotExist);
  }
  return NewHandle(key);
}

BOOL ServiceDatabase::StartServiceW(SC_HANDLE handle, DWORD, const char16_t**) {
  if (auto code = Strike(gate_, "services", "StartServiceW")) return Fail(*code);
  std::unique_lock lock(mutex_);
  Service* service = ServiceOf(handle);
  if (service == nullptr) return Fail(kErrorInvalidHandle);
  if (service->running) return Fail(kErrorServiceAlreadyRunning);
  if (service->markedForDelete) return Fail(kErrorServiceMarkedForDelete);
  const std::u16string name = handles_[handle];
  const Service copy = *service;
  lock.unlock();
  // The hook may reach other areas of the system; it runs unlocked.
  const DWORD error = onStart_ ? onStart_(name, copy) : 0;
  lock.lock();
  if (error != 0) return Fail(error);
  if (Service* again = ServiceOf(handle)) again->running = true;
  return kTrue;
}

BOOL ServiceDatabase::ControlService(SC_HANDLE handle, DWORD control, ServiceStatus* status) {
  if (auto code = Strike(gate_, "services", "ControlService")) return Fail(*code);
  std::unique_lock lock(mutex_);
  Service* service = ServiceOf(handle);
  if (service == nullptr) return Fail(kErrorInvalidHandle);
  if (control != kServiceControlStop) return Fail(kErrorInvalidParameter);
  if (!service->running) return Fail(kErrorServiceNotActive);
  const std::u16string name = handles_[handle];
  const Service copy = *service;
  lock.unlock();
  const DWORD error = onStop_ ? onStop_(name, copy) : 0;
  lock.lock();
  if (error != 0) return Fail(error);
  service = ServiceOf(handle);
  if (service != nullptr) service->running = false;
  if (status != nullptr) {
    *status = ServiceStatus{copy.serviceType, kServiceStopped, 0, 0, 0, 0, 0};
  }
  return kTrue;
}

BOOL ServiceDatabase::DeleteService(SC_HANDLE handle) {
  if (auto code = Strike(gate_, "services", "DeleteService")) return Fail(*code);
  std::lock_guard lock(mutex_);
  Service* service = ServiceOf(handle);
  if (service == nullptr) return Fail(kErrorInvalidHandle);
  if (service->markedForDelete) return Fail(kErrorServiceMarkedForDelete);
  service->markedForDelete = true;
  return kTrue;
}

BOOL ServiceDatabase::CloseServiceHandle(SC_HANDLE object) {
  std::lock_guard lock(mutex_);
  auto it = handles_.find(object);
  if (it == handles_.end()) return Fail(kErrorInvalidHandle);
  const std::u16string key = it->second;
  handles_.erase(it);
  RemoveIfUnused(key);
  return kTrue;
}

}  // namespace os::memory
