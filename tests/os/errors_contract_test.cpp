#include <atomic>
#include <thread>

#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

class ErrorsContract : public ContractTest {};

// Starting and joining a thread are calls that may reset the last error,
// so the two threads hand over with plain atomics and read their values
// before anything else runs.
TEST_P(ErrorsContract, LastErrorBelongsToTheThread) {
  std::atomic<int> step{0};
  os::DWORD seenByOther = 0;
  std::thread other([&] {
    while (step.load() != 1) {
    }
    sys().errors.SetLastError(77);
    seenByOther = sys().errors.GetLastError();
    step.store(2);
  });
  sys().errors.SetLastError(1234);
  step.store(1);
  while (step.load() != 2) {
  }
  const os::DWORD seenHere = sys().errors.GetLastError();
  other.join();
  EXPECT_EQ(seenByOther, 77u);
  EXPECT_EQ(seenHere, 1234u);
}

VX_CONTRACT_FOR_FILE_AND_TEXT_SYSTEMS(ErrorsContract);

}  // namespace
}  // namespace contract
