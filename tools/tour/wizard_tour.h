// One walk through the wizard as a first-time user takes it: agree to the
// license, keep the drives the wizard ticks, confirm the warning, watch
// the update and finish, answering each message box with its first
// choice (Yes, else OK). A picture of every page and every message box
// is saved on the way, numbered in the order they were seen.
#pragma once

#include <functional>
#include <string>

#include "tools/tour/wizard_driver.h"

namespace tour {

// Where the walk ended.
enum class Outcome {
  Updated,        // the update is done and Finish closed the wizard
  UpdateFailed,   // the progress page reports a failed update
  NothingToDo,    // no drive of the machine needs the update
  Stopped,        // a message box of the wizard's ended the walk
  Lost,           // the wizard did not show what came next in time
};

struct TourReport {
  Outcome outcome = Outcome::Lost;
  std::wstring detail;  // what the wizard said, or what did not come
};

// Walks the wizard `driver` drives; `say` is told each step as it happens.
TourReport WalkWizard(WizardDriver& driver, const std::function<void(const std::wstring&)>& say);

}  // namespace tour
