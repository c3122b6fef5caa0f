#include "os/fake/fake_errors.h"

namespace os::fake {
namespace {

thread_local DWORD lastError = 0;

}  // namespace

DWORD FakeErrors::GetLastError() { return lastError; }

void FakeErrors::SetLastError(DWORD code) { lastError = code; }

}  // namespace os::fake
