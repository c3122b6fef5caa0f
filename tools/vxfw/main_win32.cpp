// vxfw.exe: the Win32 binding of the seam.
#include <cstdio>
#include <string>
#include <vector>

#include "os/win32/win32_system.h"
#include "tools/vxfw/vxfw.h"

int wmain(int argc, wchar_t** argv) {
  // Never destroyed: the log is closed at process end and still needs it.
  auto* win32 = new os::win32::Win32System;
  os::InstallSystem(win32->system());
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg(argv[i]);
    args.emplace_back(arg.begin(), arg.end());
  }
  vxfw::Output output;
  const int status = vxfw::RunVxfw(args, output);
  std::fwrite(output.out.data(), 1, output.out.size(), stdout);
  std::fwrite(output.err.data(), 1, output.err.size(), stderr);
  return status;
}
