// A page of a Wizard 97 property sheet: its PROPSHEETPAGEW, and a dialog
// procedure that hands the notifications the pages handle to virtual
// members. The page object outlives its window; the sheet holds it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/ui/win/data_exchange.h"

namespace ui {

class CPropertyPage {
 public:
  explicit CPropertyPage(UINT templateId);
  virtual ~CPropertyPage() = default;
  CPropertyPage(const CPropertyPage&) = delete;
  CPropertyPage& operator=(const CPropertyPage&) = delete;

  PROPSHEETPAGEW& psp() { return psp_; }
  // The page title (PSP_USETITLE) and the header's two texts from the
  // string table.
  void SetTitle(const std::u16string& title);
  void SetHeaderTexts(UINT titleId, UINT subtitleId);

  HWND hwnd() const { return hwnd_; }
  HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
  HWND Sheet() const { return ::GetParent(hwnd_); }

 protected:
  // Posts PSM_SETWIZBUTTONS: the change takes effect after the handler.
  void SetWizardButtons(DWORD buttons) const;
  void CheckButton(int id, bool checked) const;
  void Focus(int id) const;

  // Pulls the controls into the members (save) or pushes them back.
  void UpdateData(bool save);
  virtual void DoDataExchange(DataExchange&) {}

  virtual BOOL OnInitDialog();
  virtual BOOL OnSetActive() { return TRUE; }
  // 0: go on, -1: stay.
  virtual LRESULT OnWizardNext() { return 0; }
  virtual LRESULT OnWizardBack() { return 0; }
  // TRUE lets the wizard finish.
  virtual BOOL OnWizardFinish() { return TRUE; }
  // true when handled.
  virtual bool OnCommand(WORD id, WORD code);
  virtual bool OnNotify(const NMHDR& header, LRESULT& result);
  // Any other message, the pages' private ones included.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Notify(const NMHDR& header);

  PROPSHEETPAGEW psp_{};
  HWND hwnd_ = nullptr;
  std::u16string title_;
  std::u16string headerTitle_;
  std::u16string headerSubtitle_;
};

// Our strings as the API takes them.
inline const wchar_t* W(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace ui
