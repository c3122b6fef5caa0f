#include "os/posix/posix_system.h"

namespace os::posix {

namespace {

constexpr HRESULT kENotImpl = static_cast<HRESULT>(0x80004001);

}  // namespace

HRESULT PosixOle::OleInitialize(void*) { return kENotImpl; }

void PosixOle::OleUninitialize() {}

}  // namespace os::posix
