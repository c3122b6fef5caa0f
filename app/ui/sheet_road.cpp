#include "app/ui/sheet_road.h"

#include "app/ui/pages/main_property_sheet.h"

namespace ui {

void SheetRoad::RunWizard(const std::u16string& title) {
  CMainPropertySheet sheet(title + titleSuffix_);
  sheet.DoModal();
}

}  // namespace ui
