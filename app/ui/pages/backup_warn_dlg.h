// The backup warning page: the last point of return. "&Do not update" is
// chosen on every visit; Next checks the power source and then leads to
// the progress page (driver road) or prepares a boot-time update and
// restarts (native road).
#pragma once

#include "app/ui/win/property_page.h"
#include "base/memory_file.h"

namespace ui {

class CBackupWarnDlg final : public CPropertyPage {
 public:
  CBackupWarnDlg();
  ~CBackupWarnDlg() override;

  base::CMemFile rtfBuffer{1024};

 protected:
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  LRESULT OnWizardNext() override;
  bool OnCommand(WORD id, WORD code) override;

 private:
  LRESULT PrepareNativeRoad();
};

extern CBackupWarnDlg* backupWarnDlg;

}  // namespace ui
