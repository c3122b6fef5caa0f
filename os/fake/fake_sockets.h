// The fake's Windows Sockets: starts and ends counted, so a test sees
// that a road never started them or ended what it began.
#pragma once

#include <mutex>

#include "os/fake/faults.h"
#include "os/sockets.h"

namespace os::fake {

// WSAStartup's faults are its return value, as the call reports them.
class FakeSockets final : public Sockets {
 public:
  explicit FakeSockets(Faults& faults) : faults_(faults) {}

  int WSAStartup(WORD versionRequested, WsaData* data) override;
  int WSACleanup() override;
  // Starts not yet ended, and every start asked for.
  int Started() const;
  int Starts() const;

 private:
  Faults& faults_;
  mutable std::mutex mutex_;
  int started_ = 0;
  int starts_ = 0;
};

}  // namespace os::fake
