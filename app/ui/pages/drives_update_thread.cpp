#include "app/ui/pages/drives_update_thread.h"

#include "update/update_run.h"

namespace ui {

bool CDrivesUpdateThread::InitInstance() { return update::CDrivesUpdateThread().InitInstance(); }

}  // namespace ui
