// What the GUI tests take from the tour's wizard driver, and where they
// keep their pictures.
#pragma once

#include <string>

#include "tools/tour/wizard_driver.h"

namespace gui_test {

using tour::kBack;
using tour::kCancel;
using tour::kFinish;
using tour::kNext;
using tour::WaitFor;
using tour::WizardDriver;

// Where screenshots go: VX_SCREENSHOTS, or "screens" beside the test.
std::wstring ScreenshotFolder();

}  // namespace gui_test
