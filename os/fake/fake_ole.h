// The fake's OLE: initialisations counted, as the sockets' starts are.
#pragma once

#include <map>
#include <mutex>
#include <thread>

#include "os/fake/faults.h"
#include "os/ole.h"

namespace os::fake {

// OleInitialize's fault is its HRESULT. Initialisations are per thread, as
// OLE's are.
class FakeOle final : public Ole {
 public:
  explicit FakeOle(Faults& faults) : faults_(faults) {}

  HRESULT OleInitialize(void* reserved) override;
  void OleUninitialize() override;
  // Initialisations not yet ended, on all threads; every one asked for.
  int Initialized() const;
  int Initializations() const;

 private:
  Faults& faults_;
  mutable std::mutex mutex_;
  std::map<std::thread::id, int> initialized_;
  int initializations_ = 0;
};

}  // namespace os::fake
