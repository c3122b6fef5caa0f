#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

using ProcessContract = ContractTest;

// Whether the answer is TRUE differs (a WOW64 prefix says so, the fake by
// default not); that the routine is found and answers is common ground.
TEST_F(ProcessContract, IsWow64ProcessIsFoundInKernel32AndAnswers) {
  auto& process = sys().process;
  const os::HMODULE kernel32 = process.GetModuleHandleW(u"kernel32");
  ASSERT_NE(kernel32, nullptr);
  const os::ProcAddress routine = process.GetProcAddress(kernel32, "IsWow64Process");
  ASSERT_NE(routine, nullptr);
  os::BOOL wow64 = 7;
  EXPECT_NE(process.IsWow64Process(routine, process.GetCurrentProcess(), &wow64), os::kFalse);
  EXPECT_TRUE(wow64 == os::kTrue || wow64 == os::kFalse);
  EXPECT_EQ(process.GetProcAddress(kernel32, "NoSuchRoutine"), nullptr);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorProcNotFound);
}

TEST_F(ProcessContract, RedirectionSwitchesOffAndBack) {
  auto& process = sys().process;
  const os::HMODULE kernel32 = process.GetModuleHandleW(u"kernel32");
  const os::ProcAddress disable =
      process.GetProcAddress(kernel32, "Wow64DisableWow64FsRedirection");
  const os::ProcAddress revert = process.GetProcAddress(kernel32, "Wow64RevertWow64FsRedirection");
  ASSERT_NE(disable, nullptr);
  ASSERT_NE(revert, nullptr);
  void* old = nullptr;
  ASSERT_NE(process.Wow64DisableWow64FsRedirection(disable, &old), os::kFalse);
  EXPECT_NE(process.Wow64RevertWow64FsRedirection(revert, old), os::kFalse);
}

}  // namespace
}  // namespace contract
