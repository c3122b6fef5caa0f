#include "os/fake/fake_sockets.h"

namespace os::fake {

namespace {

constexpr int kWsaVersionNotSupported = 10092;  // WSAVERNOTSUPPORTED

}  // namespace

int FakeSockets::WSAStartup(WORD versionRequested, WsaData* data) {
  std::lock_guard lock(mutex_);
  ++starts_;
  if (auto code = faults_.Take("sockets", "WSAStartup")) return static_cast<int>(*code);
  // As Windows: versions below 1.0 are refused; anything else is granted
  // up to 2.2.
  if ((versionRequested & 0xFF) == 0) return kWsaVersionNotSupported;
  if (data != nullptr) *data = WsaData{versionRequested, 0x0202};
  ++started_;
  return 0;
}

int FakeSockets::WSACleanup() {
  std::lock_guard lock(mutex_);
  if (started_ == 0) return -1;  // SOCKET_ERROR: nothing was started
  --started_;
  return 0;
}

int FakeSockets::Started() const {
  std::lock_guard lock(mutex_);
  return started_;
}

int FakeSockets::Starts() const {
  std::lock_guard lock(mutex_);
  return starts_;
}

}  // namespace os::fake
