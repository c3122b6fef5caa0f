// VLXFMWizardApp.exe: the wizard on Windows itself.
#include <windows.h>

#include "app/startup/wizard_app.h"
#include "app/ui/sheet_road.h"
#include "os/win32/win32_system.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Never destroyed: the log is closed at process end and still needs it.
  auto* win32 = new os::win32::Win32System;
  os::InstallSystem(win32->system());
  ui::SheetRoad road;
  app::CVLXFMWizardAppApp application(road);
  application.InitInstance();
  return application.ExitInstance();
}
