#include "os/fake/fake_files.h"

#include <algorithm>
#include <cstring>

#include "os/constants.h"
#include "os/fake/fake_path.h"

namespace os::fake {

BOOL FakeFiles::Fail(DWORD code) {
  errors_.SetLastError(code);
  return kFalse;
}

void FakeFiles::SetModulePath(std::u16string path) {
  std::lock_guard lock(mutex_);
  modulePath_ = std::move(path);
}

void FakeFiles::AddFolder(const std::u16string& path) {
  std::lock_guard lock(mutex_);
  // Every folder on the way exists too.
  std::u16string key = KeyOf(path);
  while (!key.empty()) {
    folders_.insert(key);
    const std::u16string parent = ParentOf(key);
    if (parent == key) break;
    key = parent;
  }
}

void FakeFiles::PutFile(const std::u16string& path,
                        std::vector<std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  auto node = std::make_shared<Node>();
  node->bytes = std::move(bytes);
  files_[KeyOf(path)] = std::move(node);
}

bool FakeFiles::Exists(const std::u16string& path) const {
  std::lock_guard lock(mutex_);
  return files_.count(KeyOf(path)) != 0;
}

std::vector<std::uint8_t> FakeFiles::Contents(
    const std::u16string& path) const {
  std::lock_guard lock(mutex_);
  auto it = files_.find(KeyOf(path));
  return it == files_.end() ? std::vector<std::uint8_t>{} : it->second->bytes;
}

std::u16string FakeFiles::CurrentDirectory() const {
  std::lock_guard lock(mutex_);
  return currentDirectory_;
}

std::vector<FakeFiles::OpenRecord> FakeFiles::Opens() const {
  std::lock_guard lock(mutex_);
  return opens_;
}

std::size_t FakeFiles::WriteCalls(const std::u16string& path) const {
  std::lock_guard lock(mutex_);
  auto it = files_.find(KeyOf(path));
  return it == files_.end() ? 0 : it->second->writeCalls;
}

std::size_t FakeFiles::OpenHandles() const {
  std::lock_guard lock(mutex_);
  return handles_.size();
}

std::u16string FakeFiles::KeyOf(std::u16string_view path) const {
  return CanonicalPath(path, currentDirectory_);
}

FakeFiles::Open* FakeFiles::Find(FileHandle handle) {
  auto it = handles_.find(handle);
  return it == handles_.end() ? nullptr : &it->second;
}

// Windows lets a second opener in only when every open handle shares what
// the newcomer asks for, and the newcomer shares what they already have.
bool FakeFiles::SharingAllows(const std::u16string& key, DWORD access,
                              DWORD share) const {
  for (const auto& [handle, open] : handles_) {
    if (open.key != key) continue;
    const bool wantsRead = access & kGenericRead;
    const bool wantsWrite = access & kGenericWrite;
    const bool hasRead = open.access & kGenericRead;
    const bool hasWrite = open.access & kGenericWrite;
    if (wantsRead && !(open.share & kFileShareRead)) return false;
    if (wantsWrite && !(open.share & kFileShareWrite)) return false;
    if (hasRead && !(share & kFileShareRead)) return false;
    if (hasWrite && !(share & kFileShareWrite)) return false;
  }
  return true;
}

DWORD FakeFiles::GetModuleFileNameW(HMODULE, char16_t* buffer, DWORD size) {
  if (auto code = faults_.Take("files", "GetModuleFileNameW")) {
    errors_.SetLastError(*code);
    return 0;
  }
  std::lock_guard lock(mutex_);
  if (size == 0) {
    errors_.SetLastError(kErrorInsufficientBuffer);
    return 0;
  }
  // A short buffer is filled to its end without a NUL, as XP and Wine do
  // (Windows since Vista puts a NUL in the last unit), and the result is
  // the size: callers must treat that result as a failure.
  const DWORD length = static_cast<DWORD>(modulePath_.size());
  if (length >= size) {
    std::copy_n(modulePath_.data(), size, buffer);
    errors_.SetLastError(kErrorInsufficientBuffer);
    return size;
  }
  std::copy_n(modulePath_.data(), length, buffer);
  buffer[length] = u'\0';
  return length;
}

BOOL FakeFiles::PathRemoveFileSpecW(char16_t* path) {
  if (auto code = faults_.Take("files", "PathRemoveFileSpecW")) return Fail(*code);
  if (path == nullptr) return kFalse;
  return RemoveFileSpec(path) ? kTrue : kFalse;
}

BOOL FakeFiles::SetCurrentDirectoryW(const char16_t* path) {
  if (auto code = faults_.Take("files", "SetCurrentDirectoryW")) return Fail(*code);
  std::lock_guard lock(mutex_);
  if (path == nullptr) return Fail(kErrorInvalidParameter);
  const std::u16string key = KeyOf(path);
  if (files_.count(key) != 0) return Fail(267);  // ERROR_DIRECTORY
  if (folders_.count(key) == 0) return Fail(kErrorFileNotFound);
  currentDirectory_ = key;
  return kTrue;
}

UINT FakeFiles::GetSystemDirectoryW(char16_t* buffer, UINT size) {
  if (auto code = faults_.Take("files", "GetSystemDirectoryW")) {
    errors_.SetLastError(*code);
    return 0;
  }
  const auto length = static_cast<UINT>(systemDirectory.size());
  if (length + 1 > size) return length + 1;
  std::copy_n(systemDirectory.data(), length, buffer);
  buffer[length] = u'\0';
  return length;
}


FileHandle FakeFiles::CreateFileW(const char16_t* name, DWORD desiredAccess,
                              DWORD shareMode, void*,
                              DWORD creationDisposition,
                              DWORD flagsAndAttributes, FileHandle) {
  if (auto code = faults_.Take("files", "CreateFileW")) {
    errors_.SetLastError(*code);
    return InvalidHandleValue();
  }
  std::lock_guard lock(mutex_);
  auto fail = [this](DWORD code) {
    errors_.SetLastError(code);
    return InvalidHandleValue();
  };
  if (name == nullptr || creationDisposition < kCreateNew ||
      creationDisposition > kTruncateExisting) {
    return fail(kErrorInvalidParameter);
  }
  const std::u16string key = KeyOf(name);
  opens_.push_back(OpenRecord{key, desiredAccess, shareMode,
                              creationDisposition, flagsAndAttributes});
  if (folders_.count(key) != 0) return fail(kErrorAccessDenied);
  if (folders_.count(ParentOf(key)) == 0) return fail(kErrorPathNotFound);

  auto it = files_.find(key);
  const bool existed = it != files_.end();
  if (existed && !SharingAllows(key, desiredAccess, shareMode)) {
    return fail(kErrorSharingViolation);
  }
  switch (creationDisposition) {
    case kCreateNew:
      if (existed) return fail(kErrorFileExists);
      break;
    case kOpenExisting:
    case kTruncateExisting:
      if (!existed) return fail(kErrorFileNotFound);
      if (creationDisposition == kTruncateExisting &&
          !(desiredAccess & kGenericWrite)) {
        return fail(kErrorInvalidParameter);
      }
      break;
    default:
      break;
  }
  if (!existed) {
    it = files_.emplace(key, std::make_shared<Node>()).first;
  } else if (creationDisposition == kCreateAlways ||
             creationDisposition == kTruncateExisting) {
    it->second->bytes.clear();
  }
  const FileHandle handle = reinterpret_cast<FileHandle>(nextHandle_);
  nextHandle_ += 4;
  handles_.emplace(handle, Open{key, it->second, desiredAccess, shareMode});
  // CREATE_ALWAYS and OPEN_ALWAYS tell the caller the file was there.
  const bool reportsExisting = creationDisposition == kCreateAlways ||
                               creationDisposition == kOpenAlways;
  errors_.SetLastError(existed && reportsExisting ? kErrorAlreadyExists
                                                  : kErrorSuccess);
  return handle;
}

BOOL FakeFiles::ReadFile(FileHandle file, void* buffer, DWORD bytesToRead,
                         DWORD* bytesRead, void*) {
  if (auto code = faults_.Take("files", "ReadFile")) return Fail(*code);
  std::lock_guard lock(mutex_);
  Open* open = Find(file);
  if (open == nullptr) return Fail(kErrorInvalidHandle);
  if (!(open->access & kGenericRead)) return Fail(kErrorAccessDenied);
  const auto& bytes = open->node->bytes;
  const std::uint64_t available =
      open->position < bytes.size() ? bytes.size() - open->position : 0;
  const DWORD count =
      static_cast<DWORD>(std::min<std::uint64_t>(available, bytesToRead));
  if (count != 0) {
    std::memcpy(buffer, bytes.data() + open->position, count);
  }
  open->position += count;
  if (bytesRead != nullptr) *bytesRead = count;
  return kTrue;
}

BOOL FakeFiles::WriteFile(FileHandle file, const void* buffer, DWORD bytesToWrite,
                          DWORD* bytesWritten, void*) {
  if (bytesWritten != nullptr) *bytesWritten = 0;
  if (auto code = faults_.Take("files", "WriteFile")) return Fail(*code);
  std::lock_guard lock(mutex_);
  Open* open = Find(file);
  if (open == nullptr) return Fail(kErrorInvalidHandle);
  if (!(open->access & kGenericWrite)) return Fail(kErrorAccessDenied);
  auto& bytes = open->node->bytes;
  if (open->position + bytesToWrite > bytes.size()) {
    bytes.resize(open->position + bytesToWrite);
  }
  if (bytesToWrite != 0) {
    std::memcpy(bytes.data() + open->position, buffer, bytesToWrite);
  }
  open->position += bytesToWrite;
  ++open->node->writeCalls;
  if (bytesWritten != nullptr) *bytesWritten = bytesToWrite;
  return kTrue;
}

BOOL FakeFiles::SetFilePointerEx(FileHandle file, std::int64_t distanceToMove,
                                 std::int64_t* newFilePointer,
                                 DWORD moveMethod) {
  if (auto code = faults_.Take("files", "SetFilePointerEx")) return Fail(*code);
  std::lock_guard lock(mutex_);
  Open* open = Find(file);
  if (open == nullptr) return Fail(kErrorInvalidHandle);
  std::int64_t origin = 0;
  switch (moveMethod) {
    case kFileBegin:
      break;
    case kFileCurrent:
      origin = static_cast<std::int64_t>(open->position);
      break;
    case kFileEnd:
      origin = static_cast<std::int64_t>(open->node->bytes.size());
      break;
    default:
      return Fail(kErrorInvalidParameter);
  }
  const std::int64_t target = origin + distanceToMove;
  if (target < 0) return Fail(kErrorNegativeSeek);
  open->position = static_cast<std::uint64_t>(target);
  if (newFilePointer != nullptr) *newFilePointer = target;
  return kTrue;
}

BOOL FakeFiles::GetFileSizeEx(FileHandle file, std::int64_t* size) {
  if (auto code = faults_.Take("files", "GetFileSizeEx")) return Fail(*code);
  std::lock_guard lock(mutex_);
  Open* open = Find(file);
  if (open == nullptr) return Fail(kErrorInvalidHandle);
  if (size != nullptr) *size = static_cast<std::int64_t>(open->node->bytes.size());
  return kTrue;
}

BOOL FakeFiles::CopyFileW(const char16_t* existing, const char16_t* newFile,
                          BOOL failIfExists) {
  if (auto code = faults_.Take("files", "CopyFileW")) return Fail(*code);
  std::lock_guard lock(mutex_);
  if (existing == nullptr || newFile == nullptr) return Fail(kErrorInvalidParameter);
  auto source = files_.find(KeyOf(existing));
  if (source == files_.end()) return Fail(kErrorFileNotFound);
  const std::u16string target = KeyOf(newFile);
  if (folders_.count(ParentOf(target)) == 0) return Fail(kErrorPathNotFound);
  auto it = files_.find(target);
  if (it != files_.end() && failIfExists) return Fail(kErrorFileExists);
  for (const auto& [handle, open] : handles_) {
    if (open.key == target) return Fail(kErrorSharingViolation);
  }
  auto node = std::make_shared<Node>();
  node->bytes = source->second->bytes;
  files_[target] = std::move(node);
  return kTrue;
}

BOOL FakeFiles::DeleteFileW(const char16_t* name) {
  if (auto code = faults_.Take("files", "DeleteFileW")) return Fail(*code);
  std::lock_guard lock(mutex_);
  if (name == nullptr) return Fail(kErrorInvalidParameter);
  const std::u16string key = KeyOf(name);
  if (files_.count(key) == 0) {
    return Fail(folders_.count(ParentOf(key)) == 0 ? kErrorPathNotFound : kErrorFileNotFound);
  }
  for (const auto& [handle, open] : handles_) {
    if (open.key == key) return Fail(kErrorSharingViolation);
  }
  files_.erase(key);
  return kTrue;
}

BOOL FakeFiles::CloseHandle(FileHandle object) {
  if (auto code = faults_.Take("files", "CloseHandle")) return Fail(*code);
  std::lock_guard lock(mutex_);
  if (handles_.erase(object) == 0) return Fail(kErrorInvalidHandle);
  return kTrue;
}

}  // namespace os::fake
