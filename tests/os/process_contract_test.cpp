#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

class ProcessContract : public ContractTest {};

// Whether the answer is TRUE differs (a WOW64 prefix says so, the fake by
// default not); that it answers is common ground.
TEST_P(ProcessContract, IsWow64ProcessAnswers) {
  auto& process = sys().process;
  auto& modules = sys().modules;
  const os::ProcAddress routine =
      modules.GetProcAddress(modules.GetModuleHandleW(u"kernel32"), "IsWow64Process");
  ASSERT_NE(routine, nullptr);
  os::BOOL wow64 = 7;
  EXPECT_NE(process.IsWow64Process(routine, process.GetCurrentProcess(), &wow64), os::kFalse);
  EXPECT_TRUE(wow64 == os::kTrue || wow64 == os::kFalse);
}

TEST_P(ProcessContract, RedirectionSwitchesOffAndBack) {
  auto& process = sys().process;
  auto& modules = sys().modules;
  const os::HMODULE kernel32 = modules.GetModuleHandleW(u"kernel32");
  const os::ProcAddress disable =
      modules.GetProcAddress(kernel32, "Wow64DisableWow64FsRedirection");
  const os::ProcAddress revert = modules.GetProcAddress(kernel32, "Wow64RevertWow64FsRedirection");
  ASSERT_NE(disable, nullptr);
  ASSERT_NE(revert, nullptr);
  void* old = nullptr;
  ASSERT_NE(process.Wow64DisableWow64FsRedirection(disable, &old), os::kFalse);
  EXPECT_NE(process.Wow64RevertWow64FsRedirection(revert, old), os::kFalse);
}

TEST_P(ProcessContract, TheCommandLineNamesTheProgramFirst) {
  const char16_t* line = sys().process.GetCommandLineW();
  ASSERT_NE(line, nullptr);
  const std::u16string text(line);
  const auto program = text.find(env().ProgramName());
  ASSERT_NE(program, std::u16string::npos);
  EXPECT_EQ(text.find(u' '), text.find(u' ', program)) << "nothing before the program";
}

VX_CONTRACT_FOR_WHOLE_SYSTEMS(ProcessContract);

}  // namespace
}  // namespace contract
