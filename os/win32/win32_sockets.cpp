#include <winsock2.h>
#include <windows.h>

#include "os/win32/win32_system.h"

namespace os::win32 {

int Win32Sockets::WSAStartup(WORD versionRequested, WsaData* data) {
  WSADATA native{};
  const int result = ::WSAStartup(versionRequested, &native);
  if (result == 0 && data != nullptr) *data = WsaData{native.wVersion, native.wHighVersion};
  return result;
}

int Win32Sockets::WSACleanup() { return ::WSACleanup(); }

}  // namespace os::win32
