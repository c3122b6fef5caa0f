// An in-memory registry: a real tree of keys with typed values under
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER. Names compare without case.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "os/memory/call_gate.h"
#include "os/registry.h"

namespace os::memory {

class RegistryTree final : public Registry {
 public:
  struct Value {
    DWORD type;
    std::vector<std::uint8_t> data;
  };

  explicit RegistryTree(CallGate* gate = nullptr) : gate_(gate) {}

  // Test set-up and inspection, with paths such as u"SYSTEM\\Setup".
  void SetValue(HKEY root, const std::u16string& path, const std::u16string& name,
                DWORD type, std::vector<std::uint8_t> data);
  std::optional<Value> GetValue(HKEY root, const std::u16string& path,
                                const std::u16string& name) const;
  bool KeyExists(HKEY root, const std::u16string& path) const;
  int OpenKeys() const;

  LSTATUS RegOpenKeyExW(HKEY key, const char16_t* subKey, DWORD options, DWORD desiredAccess,
                        HKEY* result) override;
  LSTATUS RegCreateKeyExW(HKEY key, const char16_t* subKey, DWORD reserved,
                          char16_t* className, DWORD options, DWORD desiredAccess,
                          void* securityAttributes, HKEY* result,
                          DWORD* disposition) override;
  LSTATUS RegQueryValueExW(HKEY key, const char16_t* valueName, DWORD* reserved, DWORD* type,
                           std::uint8_t* data, DWORD* dataSize) override;
  LSTATUS RegSetValueExW(HKEY key, const char16_t* valueName, DWORD reserved, DWORD type,
                         const std::uint8_t* data, DWORD dataSize) override;
  LSTATUS RegDeleteValueW(HKEY key, const char16_t* valueName) override;
  LSTATUS RegDeleteTreeW(HKEY key, const char16_t* subKey) override;
  LSTATUS RegCloseKey(HKEY key) override;

 private:
  struct Node {
    std::map<std::u16string, std::unique_ptr<Node>> keys;  // by lower-case name
    std::map<std::u16string, Value> values;                // by lower-case name
  };
  using Path = std::vector<std::u16string>;

  static Path Split(const char16_t* text);
  bool PathOf(HKEY key, Path& path) const;
  Node* Find(const Path& path) const;
  Node* Create(const Path& path, bool& created);
  HKEY NewHandle(Path path);

  CallGate* gate_;
  mutable std::mutex mutex_;
  Node machine_;
  Node user_;
  std::map<HKEY, Path> handles_;
  std::uintptr_t next_ = 0x6900000;
};

}  // namespace os::memory
