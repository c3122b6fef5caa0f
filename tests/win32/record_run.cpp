// Stands in for the wizard in the relocation test: writes "ran.txt" beside
// itself with its own path, its command line and its current directory,
// one per line, and ends.
#include <windows.h>

#include <string>

int wmain() {
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  std::wstring report = std::wstring(module) + L"\n" + GetCommandLineW() + L"\n" + folder + L"\n";
  std::wstring path(module);
  path = path.substr(0, path.find_last_of(L'\\') + 1) + L"ran.txt";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)), &written,
            nullptr);
  CloseHandle(file);
  return 0;
}
