// vxfw on Linux: the POSIX binding of the seam.
#include <cstdio>

#include "base/string_table.h"
#include "os/posix/posix_system.h"
#include "tools/vxfw/utf8.h"
#include "tools/vxfw/vxfw.h"

int main(int argc, char** argv) {
  // Never destroyed: the log is closed at process end and still needs it.
  auto* posix = new os::posix::PosixSystem;
  posix->resources.SetStrings(&base::StringTable());
  os::InstallSystem(posix->system());
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.push_back(vxfw::FromUtf8(argv[i]));
  vxfw::Output output;
  const int status = vxfw::RunVxfw(args, output);
  std::fputs(output.out.c_str(), stdout);
  std::fputs(output.err.c_str(), stderr);
  return status;
}
