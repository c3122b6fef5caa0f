// What start-up asks of the libraries behind the user interface: the
// common controls' classes, Windows Sockets 1.1 and OLE, against the fake
// and against Windows.
#include <thread>

#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

constexpr int kWsaVersionNotSupported = 10092;

class UiLibrariesContract : public ContractTest {};

TEST_P(UiLibrariesContract, CommonControlsRegisterTheirClassesWithTheRightSize) {
  const os::InitCommonControlsExInfo classes{os::kInitCommonControlsExSize,
                                             os::kIccWin95Classes};
  EXPECT_NE(sys().commonControls.InitCommonControlsEx(&classes), os::kFalse);
}

TEST_P(UiLibrariesContract, SocketsStartAtVersionOneOneAndEnd) {
  os::WsaData data{};
  ASSERT_EQ(sys().sockets.WSAStartup(os::kWinsockVersion11, &data), 0);
  EXPECT_EQ(data.wVersion, os::kWinsockVersion11);
  EXPECT_EQ(sys().sockets.WSACleanup(), 0);
  EXPECT_EQ(sys().sockets.WSAStartup(0x0000, &data), kWsaVersionNotSupported);
}

// On a thread of its own, which no other case has initialised.
TEST_P(UiLibrariesContract, OleInitialisesOncePerThread) {
  os::HRESULT first = -1;
  os::HRESULT second = -1;
  std::thread thread([&] {
    first = sys().ole.OleInitialize(nullptr);
    second = sys().ole.OleInitialize(nullptr);
    sys().ole.OleUninitialize();
    sys().ole.OleUninitialize();
  });
  thread.join();
  EXPECT_EQ(first, os::kSOk);
  EXPECT_EQ(second, os::kSFalse);
}

VX_CONTRACT_FOR_WHOLE_SYSTEMS(UiLibrariesContract);

}  // namespace
}  // namespace contract
