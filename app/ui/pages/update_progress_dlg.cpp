#include "app/ui/pages/update_progress_dlg.h"

#include "app/message_box.h"
#include "app/power.h"
#include "app/ui/pages/drives_update_thread.h"
#include "app/ui/resource.h"
#include "base/format.h"
#include "base/log.h"
#include "base/settings.h"
#include "os/constants.h"

namespace ui {

CUpdateProgressDlg* updateProgressDlg = nullptr;

namespace {

constexpr UINT kHeaderTitle = 118;
constexpr UINT kHeaderSubtitle = 121;
constexpr UINT kWillRestart = 120;
constexpr UINT kRebootFailed = 123;

}  // namespace

CUpdateProgressDlg::CUpdateProgressDlg() : CPropertyPage(IDD_UPDATE_PROGRESS) {
  SetHeaderTexts(kHeaderTitle, kHeaderSubtitle);
  updateProgressDlg = this;
  update::SetStatusSink(this);
}

CUpdateProgressDlg::~CUpdateProgressDlg() {
  update::SetStatusSink(nullptr);
  if (updateProgressDlg == this) updateProgressDlg = nullptr;
}

void CUpdateProgressDlg::SendStatus(const update::DriveUpdateStatus& status) {
  ::SendMessageW(hwnd(), update::WM_DRIVE_UPDATE_STATUS, 0, reinterpret_cast<LPARAM>(&status));
}

void CUpdateProgressDlg::DoDataExchange(DataExchange& exchange) {
  exchange.Text(IDC_LOG, logText);
  exchange.Text(IDC_PERCENT, percentText);
}

void CUpdateProgressDlg::EnableCancel(bool enable) const {
  ::EnableWindow(::GetDlgItem(Sheet(), IDCANCEL), enable ? TRUE : FALSE);
}

void CUpdateProgressDlg::ShowBar(bool show) const {
  ::ShowWindow(Item(IDC_PROGRESS), show ? SW_SHOW : SW_HIDE);
}

BOOL CUpdateProgressDlg::OnSetActive() {
  SetWizardButtons(0);
  EnableCancel(false);
  base::Settings().closeAllowed = false;
  UpdateData(true);
  logText.clear();
  UpdateData(false);
  ShowBar(false);
  auto* thread = new CDrivesUpdateThread;
  if (thread->CreateThread(THREAD_PRIORITY_NORMAL)) {
    updateThread = thread->threadId();
  } else {
    delete thread;
    updateThread = 0;
    if (base::IsLogOpen()) base::WriteLogLine(u"Unable to create drive update thread");
    EnableCancel(true);
    SetWizardButtons(PSWIZB_BACK);
    base::Settings().closeAllowed = true;
    UpdateData(true);
    logText = u"ERROR => Unable to create drive update thread";
    UpdateData(false);
  }
  return CPropertyPage::OnSetActive();
}

bool CUpdateProgressDlg::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message != update::WM_DRIVE_UPDATE_STATUS) return false;
  OnStatus(reinterpret_cast<const update::DriveUpdateStatus*>(lParam));
  result = 0;
  return true;
}

// The record lives on the sender's stack while this runs: what is kept is
// copied.
void CUpdateProgressDlg::OnStatus(const update::DriveUpdateStatus* status) {
  UpdateData(true);
  if (status != nullptr) {
    switch (status->kind) {
      case update::StatusText:
        logText += status->text;
        break;
      case update::ProgressRange:
        if (status->rangeMax != 0) {
          percentText = u"0% Done";
          ::SendMessageW(Item(IDC_PROGRESS), PBM_SETRANGE, 0,
                         MAKELPARAM(0, static_cast<WORD>(status->rangeMax)));
          ShowBar(true);
        } else {
          percentText.clear();
          ShowBar(false);
        }
        break;
      case update::ProgressPosition:
        ::SendMessageW(Item(IDC_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(status->percent), 0);
        percentText = base::Format(u"%d%% Done", status->percent);
        break;
      case update::ErrorText:
        logText += u"ERROR => " + status->text;
        ::PostThreadMessageW(updateThread, WM_QUIT, 0, 0);
        EnableCancel(true);
        SetWizardButtons(PSWIZB_BACK);
        base::Settings().closeAllowed = true;
        break;
      case update::DoneText:
        logText += status->text;
        ::PostThreadMessageW(updateThread, WM_QUIT, 0, 0);
        SetWizardButtons(PSWIZB_FINISH);
        if (base::Settings().restartAfterUpdate) {
          ::SendMessageW(Sheet(), PSM_SETFINISHTEXTW, 0, reinterpret_cast<LPARAM>(L"Reboot"));
        } else {
          base::Settings().closeAllowed = true;
        }
        break;
      default:
        break;
    }
  }
  UpdateData(false);
}

BOOL CUpdateProgressDlg::OnWizardFinish() {
  if (base::Settings().restartAfterUpdate) {
    app::ShowStringMessage(kWillRestart, os::kMbOk | os::kMbIconExclamation);
    base::Settings().closeAllowed = true;
    if (app::SystemReboot() == 0) {
      if (base::IsLogOpen()) base::WriteLogLine(u"SystemReboot failed");
      app::ShowStringMessage(kRebootFailed, os::kMbOk | os::kMbIconError);
    }
  }
  ::PostQuitMessage(0);
  return CPropertyPage::OnWizardFinish();
}

}  // namespace ui
