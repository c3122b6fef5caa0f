// The modules and routines looked up at run time, against the fake and
// against Windows.
#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

class ModulesContract : public ContractTest {};

TEST_P(ModulesContract, NtdllRoutinesAreFoundByName) {
  auto& modules = sys().modules;
  const os::HMODULE ntdll = modules.GetModuleHandleW(u"ntdll");
  ASSERT_NE(ntdll, nullptr);
  for (const char* name : {"NtOpenSymbolicLinkObject", "NtQuerySymbolicLinkObject", "NtClose"}) {
    EXPECT_NE(modules.GetProcAddress(ntdll, name), nullptr) << name;
  }
  EXPECT_EQ(modules.GetProcAddress(ntdll, "NtNoSuchRoutine"), nullptr);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorProcNotFound);
  EXPECT_EQ(modules.GetModuleHandleW(u"nosuchmodule"), nullptr);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorModNotFound);
}

TEST_P(ModulesContract, Kernel32RoutinesAreFoundByName) {
  auto& modules = sys().modules;
  const os::HMODULE kernel32 = modules.GetModuleHandleW(u"kernel32");
  ASSERT_NE(kernel32, nullptr);
  for (const char* name : {"IsWow64Process", "Wow64DisableWow64FsRedirection",
                           "Wow64RevertWow64FsRedirection"}) {
    EXPECT_NE(modules.GetProcAddress(kernel32, name), nullptr) << name;
  }
  EXPECT_EQ(modules.GetProcAddress(kernel32, "NoSuchRoutine"), nullptr);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorProcNotFound);
}

TEST_P(ModulesContract, TheRichEditLibraryLoadsAndFrees) {
  auto& modules = sys().modules;
  const os::HMODULE library = modules.LoadLibraryW(u"RICHED20.DLL");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(modules.LoadLibraryW(u"riched20"), library);
  EXPECT_NE(modules.FreeLibrary(library), os::kFalse);
  EXPECT_NE(modules.FreeLibrary(library), os::kFalse);
  EXPECT_EQ(modules.LoadLibraryW(u"nosuchlibrary.dll"), nullptr);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorModNotFound);
}

VX_CONTRACT_FOR_WHOLE_SYSTEMS(ModulesContract);

}  // namespace
}  // namespace contract
