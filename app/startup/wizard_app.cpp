#include "app/startup/wizard_app.h"

#include <optional>

#include "app/message_box.h"
#include "app/relocation.h"
#include "app/startup/command_line.h"
#include "base/format.h"
#include "base/log.h"
#include "base/settings.h"
#include "base/string_table.h"
#include "base/text.h"
#include "os/constants.h"
#include "os/system.h"
#include "update/native_app_helper.h"

namespace app {

namespace {

constexpr char kPackageName[] = "vx7221";
constexpr char kMajorVersion[] = "2";
constexpr char16_t kRichEditLibrary[] = u"RICHED20.DLL";

}  // namespace

std::u16string WizardTitle() {
  return base::Format(u"Veltrax Drive Update for %s -v%s", base::Widen(kPackageName),
                      base::Widen(kMajorVersion));
}

bool CVLXFMWizardAppApp::InitInstance() {
  auto& sys = os::Sys();
  base::OpenLog(nullptr);
  const os::InitCommonControlsExInfo classes{os::kInitCommonControlsExSize,
                                             os::kIccWin95Classes};
  sys.commonControls.InitCommonControlsEx(&classes);
  const char16_t* line = sys.process.GetCommandLineW();
  ParseCommandLine(commandLine_, SplitCommandLine(line == nullptr ? u"" : line));
  if (!FindModuleFolder()) return false;

  // "done" wins when both words were given.
  if (commandLine_.doneRequested) {
    update::CNativeAppHelper().CleanUpNativeUpdate();
    return false;
  }
  if (commandLine_.launchRequested) {
    PrepareAndLaunchWizard();
    return false;
  }
  if (!StartUserInterfaceLibraries()) return false;
  base::Settings().nativeMode = false;
  wizard_.RunWizard(WizardTitle());
  return false;
}

bool CVLXFMWizardAppApp::FindModuleFolder() {
  const std::optional<base::ModuleFolderFailure> failure = base::LocateModuleFolder();
  if (!failure) return true;
  if (base::IsLogOpen()) {
    if (failure->call == base::ModuleFolderFailure::kModuleFileName) {
      base::WriteLogLine(u"GetModuleFileName failed, GetLastError = 0x%x", failure->error);
    } else {
      base::WriteLogLine(u"PathRemoveFileSpec failed, GetLastError = 0x%x", failure->error);
    }
  }
  ShowStringTableMessage(base::IDS_APP_INIT_FAILED);
  return false;
}

bool CVLXFMWizardAppApp::StartUserInterfaceLibraries() {
  auto& sys = os::Sys();
  os::WsaData sockets{};
  if (sys.sockets.WSAStartup(os::kWinsockVersion11, &sockets) != 0) {
    ShowStringTableMessage(base::IDS_SOCKETS_INIT_FAILED);
    return false;
  }
  socketsStarted_ = true;
  if (!os::Succeeded(sys.ole.OleInitialize(nullptr))) {
    ShowStringTableMessage(base::IDS_OLE_INIT_FAILED);
    return false;
  }
  oleInitialized_ = true;
  // The license page's control; without it the page shows no text, which
  // the page itself reports.
  richEdit_ = sys.modules.LoadLibraryW(kRichEditLibrary);
  return true;
}

int CVLXFMWizardAppApp::ExitInstance() {
  auto& sys = os::Sys();
  if (richEdit_ != nullptr) sys.modules.FreeLibrary(richEdit_);
  richEdit_ = nullptr;
  if (oleInitialized_) sys.ole.OleUninitialize();
  oleInitialized_ = false;
  if (socketsStarted_) sys.sockets.WSACleanup();
  socketsStarted_ = false;
  return 0;
}

}  // namespace app
