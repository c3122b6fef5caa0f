#include "os/posix/posix_system.h"

namespace os::posix {

namespace {

constexpr int kWsaSystemNotReady = 10091;  // WSASYSNOTREADY

}  // namespace

int PosixSockets::WSAStartup(WORD, WsaData*) { return kWsaSystemNotReady; }

int PosixSockets::WSACleanup() { return -1; }

}  // namespace os::posix
