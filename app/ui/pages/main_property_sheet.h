// The wizard: one Wizard 97 sheet with a header, its pages in order, the
// application icon, and two window rules: F1 never reaches a page, and the
// Close command is refused while closeAllowed is false. No system menu.
#pragma once

#include <windows.h>

#include <string>

#include "app/ui/pages/backup_warn_dlg.h"
#include "app/ui/pages/drive_select_dlg.h"
#include "app/ui/pages/license_dlg.h"
#include "app/ui/pages/update_progress_dlg.h"
#include "app/ui/win/property_sheet.h"

namespace ui {

class CMainPropertySheet final : public CPropertySheet {
 public:
  explicit CMainPropertySheet(const std::u16string& title);
  ~CMainPropertySheet() override;

 protected:
  BOOL OnInitDialog() override;
  bool PreTranslateMessage(const MSG& message) override;
  bool OnSysCommand(WPARAM command, LPARAM parameter) override;

 private:
  HICON icon_ = nullptr;
  CLicenseDlg license_;
  CDriveSelectDlg driveSelect_;
  CBackupWarnDlg backupWarn_;
  CUpdateProgressDlg updateProgress_;
  std::u16string title_;
  HBITMAP headerBitmap_ = nullptr;
};

}  // namespace ui
