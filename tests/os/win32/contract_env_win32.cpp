#include <windows.h>

#include <string>

#include "os/win32/win32_system.h"
#include "tests/os/contract_env.h"

namespace contract {
namespace {

// A folder under the temporary directory that no earlier run created:
// process ids come round again, so the name takes the first free number.
std::u16string MakeScratchFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  static unsigned sequence = GetTickCount();
  for (;;) {
    const std::wstring folder =
        std::wstring(temp) + L"vx_contract_" + std::to_wstring(++sequence);
    if (CreateDirectoryW(folder.c_str(), nullptr)) {
      return std::u16string(folder.begin(), folder.end());
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
}

class Win32Env final : public Env {
 public:
  os::System& system() override { return win32_.system(); }
  std::u16string ScratchFolder() override {
    if (scratch_.empty()) scratch_ = MakeScratchFolder();
    return scratch_;
  }
  std::u16string ProgramName() override { return u"vx_win_tests.exe"; }

 private:
  os::win32::Win32System win32_;
  std::u16string scratch_;
};

}  // namespace

std::vector<Binding> WholeSystems() {
  return {{"Win32", [] { return std::unique_ptr<Env>(std::make_unique<Win32Env>()); }}};
}

std::vector<Binding> FileAndTextSystems() { return WholeSystems(); }

}  // namespace contract
