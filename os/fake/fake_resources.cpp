#include "os/fake/fake_resources.h"

#include "os/cp1252.h"

namespace os::fake {

int FakeResources::LoadStringW(HMODULE, UINT id, char16_t* buffer, int bufferMax) {
  DWORD error = 0;
  const int length = [&] {
    if (auto code = faults_.Take("resources", "LoadStringW")) {
      error = *code;
      return 0;
    }
    return LoadStringFromTable(strings_, id, buffer, bufferMax, error);
  }();
  if (length == 0) errors_.SetLastError(error);
  return length;
}

}  // namespace os::fake
