#include <stdlib.h>

#include <filesystem>
#include <string>

#include "base/string_table.h"
#include "os/fake/fake_system.h"
#include "os/posix/posix_system.h"
#include "tests/os/contract_env.h"

namespace contract {
namespace {

class FakeEnv final : public Env {
 public:
  FakeEnv() {
    fake_.files.AddFolder(u"C:\\contract\\scratch");
    fake_.files.SetModulePath(u"C:\\contract\\vx_host_tests.exe");
    fake_.process.commandLine = u"\"C:\\contract\\vx_host_tests.exe\" --gtest_brief";
    fake_.resources.SetStrings(&base::StringTable());
    // Wine has a drive 0 too.
    fake_.devices.Add(u"\\\\.\\PhysicalDrive0", std::make_shared<os::fake::ScriptedDevice>());
  }
  os::System& system() override { return fake_.system(); }
  std::u16string ScratchFolder() override { return u"C:\\contract\\scratch"; }
  std::u16string ProgramName() override { return u"vx_host_tests.exe"; }

 private:
  os::fake::FakeSystem fake_;
};

// A fresh folder under the temporary directory, removed with the case.
class PosixEnv final : public Env {
 public:
  PosixEnv() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vx_contract_XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
  }
  ~PosixEnv() override {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  os::System& system() override { return posix_.system(); }
  std::u16string ScratchFolder() override {
    return std::u16string(folder_.begin(), folder_.end());
  }
  std::u16string ProgramName() override { return u"vx_host_tests"; }

 private:
  os::posix::PosixSystem posix_;
  std::string folder_;
};

Binding Fake() {
  return {"Fake", [] { return std::unique_ptr<Env>(std::make_unique<FakeEnv>()); }};
}

}  // namespace

std::vector<Binding> WholeSystems() { return {Fake()}; }

std::vector<Binding> FileAndTextSystems() {
  return {Fake(),
          {"Posix", [] { return std::unique_ptr<Env>(std::make_unique<PosixEnv>()); }}};
}

}  // namespace contract
