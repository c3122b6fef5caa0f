#include "base/settings.h"

#include <gtest/gtest.h>

#include "os/fake/fake_system.h"

namespace base {
namespace {

TEST(ModuleFolder, TheExecutablesFolderOrNothingWhenThePathWasCut) {
  os::fake::ScopedFakeSystem fake;
  const struct {
    std::u16string module;
    bool found;
    std::u16string folder;
  } cases[] = {
      {u"C:\\Program Files\\Veltrax\\VLXFMWizardApp.exe", true, u"C:\\Program Files\\Veltrax"},
      {u"C:\\VLXFMWizardApp.exe", true, u"C:\\"},
      {u"C:\\" + std::u16string(250, u'd') + u"\\ab.exe", false, u""},  // 260 units
  };
  for (const auto& c : cases) {
    Settings().moduleFolder.clear();
    fake.files.SetModulePath(c.module);
    EXPECT_EQ(InitModuleFolder(), c.found);
    EXPECT_EQ(Settings().moduleFolder, c.folder);
  }
}

}  // namespace
}  // namespace base
