// The registry's multi-string lists: "BootExecute" holding any bytes of
// any type, read back, an entry cut out and one put in front.
#include <vector>

#include "os/constants.h"
#include "os/fake/fake_system.h"
#include "os/registry.h"
#include "tests/fuzz/fuzz_input.h"
#include "update/multi_string.h"

namespace {

constexpr char16_t kSessionManager[] = u"SYSTEM\\CurrentControlSet\\Control\\Session Manager";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  os::fake::ScopedFakeSystem fake;
  const os::DWORD type = input.Byte() % 12;
  const std::uint32_t capacity = input.Word() % 600;
  fake.registry.SetValue(os::HkeyLocalMachine(), kSessionManager, u"BootExecute", type,
                         input.Rest());
  os::HKEY key = nullptr;
  if (fake.registry.RegOpenKeyExW(os::HkeyLocalMachine(), kSessionManager, 0,
                                  os::kKeyAllAccess, &key) != os::kErrorSuccess) {
    return 0;
  }
  update::MultiString list(capacity);
  std::uint32_t length = 0;
  if (update::QueryBootExecute(key, list.data(), capacity, length) == os::kErrorSuccess) {
    if (length == 0 || length > capacity) __builtin_trap();
    list.resize(length);
    update::RemoveMultiStringEntry(list, u"autocheck autochk *");
    update::PrependMultiStringEntry(u"VLXFMNativeApp", list);
    update::SetBootExecute(key, &list);
  }
  fake.registry.RegCloseKey(key);
  return 0;
}
