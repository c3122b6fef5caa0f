#include "os/fake/fake_devices.h"

#include <algorithm>
#include <cstring>

#include "os/ascii_case.h"
#include "os/constants.h"

namespace os::fake {

BOOL ScriptedDevice::Control(DWORD code, const void* in, DWORD inSize,
                             void* out, DWORD outSize, DWORD& returned,
                             DWORD& error) {
  const auto* bytes = static_cast<const std::uint8_t*>(in);
  requests.push_back(Request{
      code, bytes == nullptr ? std::vector<std::uint8_t>{}
                             : std::vector<std::uint8_t>(bytes, bytes + inSize),
      outSize});
  Response response;
  if (!responses.empty()) {
    response = responses.front();
    responses.pop_front();
  }
  const DWORD copied = static_cast<DWORD>(
      std::min<std::size_t>(outSize, response.output.size()));
  if (copied != 0) std::memcpy(out, response.output.data(), copied);
  returned = response.returned.value_or(copied);
  error = response.error;
  return response.result;
}

std::u16string FakeDevices::KeyOf(const std::u16string& path) {
  return AsciiLower(path);
}

void FakeDevices::Add(const std::u16string& path,
                      std::shared_ptr<DeviceModel> model) {
  std::lock_guard lock(mutex_);
  models_[KeyOf(path)] = std::move(model);
}

int FakeDevices::Closes(const std::u16string& path) const {
  std::lock_guard lock(mutex_);
  auto it = closes_.find(KeyOf(path));
  return it == closes_.end() ? 0 : it->second;
}

int FakeDevices::OpenHandles() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(handles_.size());
}

DeviceHandle FakeDevices::CreateFileW(const char16_t* name, DWORD, DWORD, void*,
                                      DWORD, DWORD, DeviceHandle) {
  if (auto code = faults_.Take("devices", "CreateFileW")) {
    errors_.SetLastError(*code);
    return InvalidHandleValue();
  }
  std::lock_guard lock(mutex_);
  const std::u16string key = KeyOf(name == nullptr ? u"" : name);
  if (models_.count(key) == 0) {
    errors_.SetLastError(kErrorFileNotFound);
    return InvalidHandleValue();
  }
  const auto handle = reinterpret_cast<DeviceHandle>(nextHandle_);
  nextHandle_ += 4;
  handles_[handle] = key;
  errors_.SetLastError(kErrorSuccess);
  return handle;
}

BOOL FakeDevices::DeviceIoControl(DeviceHandle device, DWORD ioControlCode,
                                  void* inBuffer, DWORD inBufferSize,
                                  void* outBuffer, DWORD outBufferSize,
                                  DWORD* bytesReturned, void*) {
  if (auto code = faults_.Take("devices", "DeviceIoControl")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  std::shared_ptr<DeviceModel> model;
  {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(device);
    if (it != handles_.end()) model = models_[it->second];
  }
  if (model == nullptr) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  // The model runs unlocked: a driver's call may take its time while
  // another thread uses other devices.
  DWORD returned = 0;
  DWORD error = 0;
  const BOOL result = model->Control(ioControlCode, inBuffer, inBufferSize,
                                     outBuffer, outBufferSize, returned, error);
  if (bytesReturned != nullptr) *bytesReturned = returned;
  if (!result) errors_.SetLastError(error);
  return result;
}

BOOL FakeDevices::CloseHandle(DeviceHandle object) {
  std::lock_guard lock(mutex_);
  auto it = handles_.find(object);
  if (it == handles_.end()) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  ++closes_[it->second];
  handles_.erase(it);
  return kTrue;
}

BOOL FakeDevices::DuplicateHandle(ProcessHandle, DeviceHandle source, ProcessHandle,
                                  DeviceHandle* target, DWORD, BOOL, DWORD) {
  if (auto code = faults_.Take("devices", "DuplicateHandle")) {
    errors_.SetLastError(*code);
    return kFalse;
  }
  std::lock_guard lock(mutex_);
  auto it = handles_.find(source);
  if (it == handles_.end() || target == nullptr) {
    errors_.SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  const auto copy = reinterpret_cast<DeviceHandle>(nextHandle_);
  nextHandle_ += 4;
  handles_[copy] = it->second;
  *target = copy;
  return kTrue;
}

NTSTATUS FakeDevices::NtOpenSymbolicLinkObject(ProcAddress routine, HANDLE* link,
                                               DWORD, ObjectAttributes* attributes) {
  return links.Open(routine, link, attributes);
}

NTSTATUS FakeDevices::NtQuerySymbolicLinkObject(ProcAddress routine, HANDLE link,
                                                UnicodeString* target,
                                                std::uint32_t* returnedLength) {
  return links.Query(routine, link, target, returnedLength);
}

NTSTATUS FakeDevices::NtClose(ProcAddress routine, HANDLE object) {
  return links.Close(routine, object);
}

}  // namespace os::fake
