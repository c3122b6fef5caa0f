// The wizard road of both executables: the sheet, run modally under the
// title start-up gives, with a suffix of the executable's own.
#pragma once

#include <string>

#include "app/startup/wizard_app.h"

namespace ui {

class SheetRoad final : public app::WizardRoad {
 public:
  explicit SheetRoad(std::u16string titleSuffix = {}) : titleSuffix_(std::move(titleSuffix)) {}
  void RunWizard(const std::u16string& title) override;

 private:
  std::u16string titleSuffix_;
};

}  // namespace ui
