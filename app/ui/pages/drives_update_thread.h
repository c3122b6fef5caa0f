// The update worker as a user-interface thread: InitInstance is the whole
// update run; then its message loop until the progress page's WM_QUIT;
// then the object deletes itself.
#pragma once

#include "app/ui/win/ui_thread.h"

namespace ui {

class CDrivesUpdateThread final : public CWinThread {
 protected:
  bool InitInstance() override;
};

}  // namespace ui
