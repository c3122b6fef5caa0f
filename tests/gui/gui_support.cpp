#include "tests/gui/gui_support.h"

#include <windows.h>

namespace gui_test {

std::wstring ScreenshotFolder() {
  wchar_t value[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"VX_SCREENSHOTS", value, MAX_PATH) > 0) return value;
  wchar_t module[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring folder(module);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  folder += L"screens";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

}  // namespace gui_test
