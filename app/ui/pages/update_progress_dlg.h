// The update progress page: locks the wizard, starts the update thread and
// shows what it reports (log box, bar, "%d%% Done"); unlocks at the end,
// Finish after success, Back and Cancel after a failure.
#pragma once

#include <string>

#include "app/ui/win/property_page.h"
#include "update/update_run.h"

namespace ui {

class CUpdateProgressDlg final : public CPropertyPage, public update::StatusSink {
 public:
  CUpdateProgressDlg();
  ~CUpdateProgressDlg() override;

  // From the update thread: handled on the page's thread before it returns.
  void SendStatus(const update::DriveUpdateStatus& status) override;

 protected:
  void DoDataExchange(DataExchange& exchange) override;
  BOOL OnSetActive() override;
  BOOL OnWizardFinish() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnStatus(const update::DriveUpdateStatus* status);
  void EnableCancel(bool enable) const;
  void ShowBar(bool show) const;

  // The thread of the last activation; it deletes itself, so only its id
  // is kept.
  DWORD updateThread = 0;
  std::u16string logText;
  std::u16string percentText;
};

extern CUpdateProgressDlg* updateProgressDlg;

}  // namespace ui
