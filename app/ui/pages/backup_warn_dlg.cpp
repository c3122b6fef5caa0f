#include "app/ui/pages/backup_warn_dlg.h"

#include "app/message_box.h"
#include "app/power.h"
#include "app/ui/pages/rtf_resource.h"
#include "app/ui/resource.h"
#include "base/log.h"
#include "base/settings.h"
#include "os/constants.h"
#include "update/native_app_helper.h"

namespace ui {

CBackupWarnDlg* backupWarnDlg = nullptr;

namespace {

constexpr UINT kHeaderTitle = 113;
constexpr UINT kHeaderSubtitle = 114;
constexpr UINT kAskRestart = 119;
constexpr UINT kPrepareFailed = 122;
constexpr UINT kRebootFailed = 123;

DWORD CALLBACK StreamWarning(DWORD_PTR, LPBYTE destination, LONG count, LONG* delivered) {
  return ReadForStream(backupWarnDlg->rtfBuffer, destination, count, delivered);
}

}  // namespace

CBackupWarnDlg::CBackupWarnDlg() : CPropertyPage(IDD_BACKUP_WARN) {
  SetHeaderTexts(kHeaderTitle, kHeaderSubtitle);
  backupWarnDlg = this;
}

CBackupWarnDlg::~CBackupWarnDlg() {
  if (backupWarnDlg == this) backupWarnDlg = nullptr;
}

BOOL CBackupWarnDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  LoadRtfResource(rtfBuffer, IDR_WARNING_RTF);
  StreamRtfIn(Item(IDC_WARNING_TEXT), StreamWarning);
  return TRUE;
}

BOOL CBackupWarnDlg::OnSetActive() {
  SetWizardButtons(PSWIZB_BACK);
  CheckButton(IDC_UPDATE, false);
  CheckButton(IDC_NO_UPDATE, true);
  Focus(IDC_NO_UPDATE);
  return CPropertyPage::OnSetActive();
}

bool CBackupWarnDlg::OnCommand(WORD id, WORD code) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_UPDATE) {
    SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    return true;
  }
  if (id == IDC_NO_UPDATE) {
    SetWizardButtons(PSWIZB_BACK);
    return true;
  }
  return false;
}

LRESULT CBackupWarnDlg::OnWizardNext() {
  if (app::CheckPowerSource() != 0) return -1;
  if (!base::Settings().nativeMode) return 0;
  return PrepareNativeRoad();
}

LRESULT CBackupWarnDlg::PrepareNativeRoad() {
  if (app::ShowStringMessage(kAskRestart, os::kMbYesNo | os::kMbIconInformation) != os::kIdYes) {
    return -1;
  }
  update::CNativeAppHelper helper;
  const base::ErrorInfoPtr prepared = helper.PrepareNativeUpdate();
  if (!base::IsSuccess(prepared)) {
    if (base::IsLogOpen()) {
      base::WriteLogLine(u"PrepareSystem failed.\r\n%s\r\n", base::FormatErrorInfo(*prepared));
    }
    app::ShowStringMessage(kPrepareFailed, os::kMbOk | os::kMbIconError);
    return -1;
  }
  if (app::SystemReboot() == 1) {
    ::PostQuitMessage(0);
    return -1;
  }
  helper.CleanUpNativeUpdate();
  if (base::IsLogOpen()) base::WriteLogLine(u"SystemReboot failed");
  app::ShowStringMessage(kRebootFailed, os::kMbOk | os::kMbIconError);
  return -1;
}

}  // namespace ui
