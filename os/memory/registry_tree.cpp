#include "os/memory/registry_tree.h"

#include <algorithm>
#include <cstring>

#include "os/ascii_case.h"
#include "os/constants.h"

namespace os::memory {
namespace {

constexpr char16_t kMachine[] = u"\x1HKLM";
constexpr char16_t kUser[] = u"\x1HKCU";

}  // namespace

RegistryTree::Path RegistryTree::Split(const char16_t* text) {
  Path path;
  std::u16string part;
  for (const char16_t* c = text; c != nullptr && *c != u'\0'; ++c) {
    if (*c == u'\\') {
      if (!part.empty()) path.push_back(os::AsciiLower(part));
      part.clear();
    } else {
      part += *c;
    }
  }
  if (!part.empty()) path.push_back(os::AsciiLower(part));
  return path;
}

bool RegistryTree::PathOf(HKEY key, Path& path) const {
  if (key == HkeyLocalMachine()) {
    path = {kMachine};
    return true;
  }
  if (key == HkeyCurrentUser()) {
    path = {kUser};
    return true;
  }
  auto it = handles_.find(key);
  if (it == handles_.end()) return false;
  path = it->second;
  return true;
}

RegistryTree::Node* RegistryTree::Find(const Path& path) const {
  if (path.empty()) return nullptr;
  const Node* node = path[0] == kMachine ? &machine_ : path[0] == kUser ? &user_ : nullptr;
  for (std::size_t i = 1; node != nullptr && i < path.size(); ++i) {
    auto it = node->keys.find(path[i]);
    node = it == node->keys.end() ? nullptr : it->second.get();
  }
  return const_cast<Node*>(node);
}

RegistryTree::Node* RegistryTree::Create(const Path& path, bool& created) {
  created = false;
  Node* node = Find({path[0]});
  for (std::size_t i = 1; node != nullptr && i < path.size(); ++i) {
    auto& child = node->keys[path[i]];
    if (child == nullptr) {
      child = std::make_unique<Node>();
      created = true;
    }
    node = child.get();
  }
  return node;
}

HKEY RegistryTree::NewHandle(Path path) {
  const HKEY key = reinterpret_cast<HKEY>(next_);
  next_ += 4;
  handles_[key] = std::move(path);
  return key;
}

void RegistryTree::SetValue(HKEY root, const std::u16string& path, const std::u16string& name,
                            DWORD type, std::vector<std::uint8_t> data) {
  std::lock_guard lock(mutex_);
  Path full;
  PathOf(root, full);
  for (auto& part : Split(path.c_str())) full.push_back(part);
  bool created = false;
  Create(full, created)->values[os::AsciiLower(name)] = Value{type, std::move(data)};
}

std::optional<RegistryTree::Value> RegistryTree::GetValue(HKEY root, const std::u16string& path,
                                                          const std::u16string& name) const {
  std::lock_guard lock(mutex_);
  Path full;
  PathOf(root, full);
  for (auto& part : Split(path.c_str())) full.push_back(part);
  const Node* node = Find(full);
  if (node == nullptr) return std::nullopt;
  auto it = node->values.find(os::AsciiLower(name));
  if (it == node->values.end()) return std::nullopt;
  return it->second;
}

bool RegistryTree::KeyExists(HKEY root, const std::u16string& path) const {
  std::lock_guard lock(mutex_);
  Path full;
  PathOf(root, full);
  for (auto& part : Split(path.c_str())) full.push_back(part);
  return Find(full) != nullptr;
}

int RegistryTree::OpenKeys() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(handles_.size());
}

LSTATUS RegistryTree::RegOpenKeyExW(HKEY key, const char16_t* subKey, DWORD, DWORD,
                                    HKEY* result) {
  if (auto code = Strike(gate_, "registry", "RegOpenKeyExW")) return static_cast<LSTATUS>(*code);
  std::lock_guard lock(mutex_);
  Path path;
  if (!PathOf(key, path) || result == nullptr) return kErrorInvalidHandle;
  for (auto& part : Split(subKey)) path.push_back(part);
  if (Find(path) == nullptr) return kErrorFileNotFound;
  *result = NewHandle(std::move(path));
  return kErrorSuccess;
}

LSTATUS RegistryTree::RegCreateKeyExW(HKEY key, const char16_t* subKey, DWORD, char16_t*,
                                      DWORD, DWORD, void*, HKEY* result, DWORD* disposition) {
  if (auto code = Strike(gate_, "registry", "RegCreateKeyExW")) return static_cast<LSTATUS>(*code);
  std::lock_guard lock(mutex_);
  Path path;
  if (!PathOf(key, path) || result == nullptr || Find(path) == nullptr) {
    return kErrorInvalidHandle;
  }
  for (auto& part : Split(subKey)) path.push_back(part);
  bool created = false;
  Create(path, created);
  if (disposition != nullptr) {
    *disposition = created ? kRegCreatedNewKey : kRegOpenedExistingKey;
  }
  *result = NewHandle(std::move(path));
  return kErrorSuccess;
}

LSTATUS RegistryTree::RegQueryValueExW(HKEY key, const char16_t* valueName, DWORD*,
                                       DWORD* type, std::uint8_t* data, DWORD* dataSize) {
  if (auto code = Strike(gate_, "registry", "RegQueryValueExW")) return static_cast<LSTATUS>(*code);
  std::lock_guard lock(mutex_);
  Path path;
  if (!PathOf(key, path)) return kErrorInvalidHandle;
  const Node* node = Find(path);
  if (node == nullptr) return kErrorInvalidHandle;
  auto it = node->values.find(os::AsciiLower(valueName == nullptr ? u"" : valueName));
  if (it == node->values.end()) return kErrorFileNotFound;
  const Value& value = it->second;
  if (type != nullptr) *type = value.type;
  const auto size = static_cast<DWORD>(value.data.size());
  if (data == nullptr) {
    if (dataSize != nullptr) *dataSize = size;
    return kErrorSuccess;
  }
  if (dataSize == nullptr) return kErrorInvalidParameter;
  if (*dataSize < size) {
    *dataSize = size;
    return kErrorMoreData;
  }
  if (size != 0) std::memcpy(data, value.data.data(), size);
  *dataSize = size;
  return kErrorSuccess;
}

LSTATUS RegistryTree::RegSetValueExW(HKEY key, const char16_t* valueName, DWORD, DWORD type,
                                     const std::uint8_t* data, DWORD dataSize) {
  if (auto code = Strike(gate_, "registry", "RegSetValueExW")) return static_cast<LSTATUS>(*code);
  std::lock_guard lock(mutex_);
  Path path;
  if (!PathOf(key, path)) return kErrorInvalidHandle;
  Node* node = Find(path);
  if (node == nullptr) return kErrorInvalidHandle;
  std::vector<std::uint8_t> bytes;
  if (data != nullptr) bytes.assign(data, data + dataSize);
  node->values[os::AsciiLower(valueName == nullptr ? u"" : valueName)] = Value{type, std::move(bytes)};
  return kErrorSuccess;
}

LSTATUS RegistryTree::RegDeleteValueW(HKEY key, const char16_t* valueName) {
  if (auto code = Strike(gate_, "registry", "RegDeleteValueW")) return static_cast<LSTATUS>(*code);
  std::lock_guard lock(mutex_);
  Path path;
  if (!PathOf(key, path)) return kErrorInvalidHandle;
  Node* node = Find(path);
  if (node == nullptr) return kErrorInvalidHandle;
  return node->values.erase(os::AsciiLower(valueName == nullptr ? u"" : valueName)) != 0
             ? kErrorSuccess
             : static_cast<LSTATUS>(kErrorFileNotFound);
}

LSTATUS RegistryTree::RegDeleteTreeW(HKEY key, const char16_t* subKey) {
  if (auto code = Strike(gate_, "registry", "RegDeleteTreeW")) return static_cast<LSTATUS>(*code);
  std::lock_guard lock(mutex_);
  Path path;
  if (!PathOf(key, path)) return kErrorInvalidHandle;
  const Path sub = Split(subKey);
  if (sub.empty()) {
    Node* node = Find(path);
    if (node == nullptr) return kErrorInvalidHandle;
    node->keys.clear();
    node->values.clear();
    return kErrorSuccess;
  }
  for (std::size_t i = 0; i + 1 < sub.size(); ++i) path.push_back(sub[i]);
  Node* parent = Find(path);
  if (parent == nullptr || parent->keys.erase(sub.back()) == 0) return kErrorFileNotFound;
  return kErrorSuccess;
}

LSTATUS RegistryTree::RegCloseKey(HKEY key) {
  std::lock_guard lock(mutex_);
  if (key == HkeyLocalMachine() || key == HkeyCurrentUser()) return kErrorSuccess;
  return handles_.erase(key) != 0 ? kErrorSuccess : static_cast<LSTATUS>(kErrorInvalidHandle);
}

}  // namespace os::memory
