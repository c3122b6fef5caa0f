// The application object: opens the log, reads the command line and takes
// one of three roads: "done" (the clean-up after a native-mode update),
// "launch" (the copy under the temporary folder), or the wizard, after
// the libraries behind the user interface are started. Start-up never
// enters a message loop of its own: InitInstance always returns false and
// the entry point then calls ExitInstance.
#pragma once

#include <string>

#include "app/startup/custom_command_line_info.h"
#include "os/types.h"

namespace app {

// The wizard's sheet, run modally with the title given; handed in by each
// executable's entry point.
class WizardRoad {
 public:
  virtual ~WizardRoad() = default;
  virtual void RunWizard(const std::u16string& title) = 0;
};

class CVLXFMWizardAppApp {
 public:
  explicit CVLXFMWizardAppApp(WizardRoad& wizard) : wizard_(wizard) {}
  CVLXFMWizardAppApp(const CVLXFMWizardAppApp&) = delete;
  CVLXFMWizardAppApp& operator=(const CVLXFMWizardAppApp&) = delete;

  bool InitInstance();
  // Ends what start-up began (OLE, sockets, the rich edit library); the
  // exit code.
  int ExitInstance();

  const CCustomCommandLineInfo& commandLine() const { return commandLine_; }

 private:
  bool FindModuleFolder();
  bool StartUserInterfaceLibraries();

  WizardRoad& wizard_;
  CCustomCommandLineInfo commandLine_;
  bool socketsStarted_ = false;
  bool oleInitialized_ = false;
  os::HMODULE richEdit_ = nullptr;
};

// "Veltrax Drive Update for vx7221 -v2".
std::u16string WizardTitle();

}  // namespace app
