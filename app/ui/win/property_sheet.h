// A property sheet over PropertySheetW, run modally by our own message
// loop (the sheet is created modeless), so that every message passes
// PreTranslateMessage before the sheet sees it, as the framework's sheets
// do. The sheet window is subclassed for OnSysCommand.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/ui/win/property_page.h"

namespace ui {

class CPropertySheet {
 public:
  explicit CPropertySheet(const std::u16string& caption);
  virtual ~CPropertySheet() = default;
  CPropertySheet(const CPropertySheet&) = delete;
  CPropertySheet& operator=(const CPropertySheet&) = delete;

  void AddPage(CPropertyPage& page);
  // Runs until the sheet ends (Finish, Cancel) or the thread's quit
  // message arrives; the sheet's result.
  INT_PTR DoModal();

  HWND hwnd() const { return hwnd_; }
  PROPSHEETHEADERW& header() { return header_; }

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  // true: the message is eaten.
  virtual bool PreTranslateMessage(const MSG&) { return false; }
  // true: the command is handled here, not by the sheet.
  virtual bool OnSysCommand(WPARAM, LPARAM) { return false; }

 private:
  static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);

  PROPSHEETHEADERW header_{};
  std::u16string caption_;
  std::vector<PROPSHEETPAGEW> pages_;
  HWND hwnd_ = nullptr;
};

}  // namespace ui
