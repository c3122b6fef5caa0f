#include "base/string_table.h"
#include "os/fake/fake_system.h"
#include "tests/os/contract_env.h"

namespace contract {
namespace {

class FakeEnv final : public Env {
 public:
  FakeEnv() {
    fake_.files.AddFolder(u"C:\\contract\\scratch");
    fake_.files.SetModulePath(u"C:\\contract\\vx_host_tests.exe");
    fake_.resources.SetStrings(&base::StringTable());
    // Wine has a drive 0 too.
    fake_.devices.Add(u"\\\\.\\PhysicalDrive0",
                      std::make_shared<os::fake::ScriptedDevice>());
  }
  os::System& system() override { return fake_.system(); }
  std::u16string ScratchFolder() override { return u"C:\\contract\\scratch"; }

 private:
  os::fake::FakeSystem fake_;
};

}  // namespace

std::unique_ptr<Env> MakeEnv() { return std::make_unique<FakeEnv>(); }

}  // namespace contract
