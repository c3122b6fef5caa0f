#include "app/ui/win/property_page.h"

#include "base/string_table.h"

namespace ui {

CPropertyPage::CPropertyPage(UINT templateId) {
  psp_.dwSize = sizeof psp_;
  psp_.dwFlags = PSP_DEFAULT;
  psp_.hInstance = ::GetModuleHandleW(nullptr);
  psp_.pszTemplate = MAKEINTRESOURCEW(templateId);
  psp_.pfnDlgProc = DialogProc;
  psp_.lParam = reinterpret_cast<LPARAM>(this);
}

void CPropertyPage::SetTitle(const std::u16string& title) {
  title_ = title;
  psp_.dwFlags |= PSP_USETITLE;
  psp_.pszTitle = W(title_);
}

void CPropertyPage::SetHeaderTexts(UINT titleId, UINT subtitleId) {
  base::LoadAppString(titleId, headerTitle_);
  base::LoadAppString(subtitleId, headerSubtitle_);
  psp_.dwFlags |= PSP_USEHEADERTITLE | PSP_USEHEADERSUBTITLE;
  psp_.pszHeaderTitle = W(headerTitle_);
  psp_.pszHeaderSubTitle = W(headerSubtitle_);
}

void CPropertyPage::SetWizardButtons(DWORD buttons) const {
  ::PostMessageW(Sheet(), PSM_SETWIZBUTTONS, 0, buttons);
}

void CPropertyPage::CheckButton(int id, bool checked) const {
  ::SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CPropertyPage::Focus(int id) const { ::SetFocus(Item(id)); }

void CPropertyPage::UpdateData(bool save) {
  DataExchange exchange(hwnd_, save);
  DoDataExchange(exchange);
}

BOOL CPropertyPage::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

bool CPropertyPage::OnCommand(WORD, WORD) { return false; }

bool CPropertyPage::OnNotify(const NMHDR&, LRESULT&) { return false; }

bool CPropertyPage::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

INT_PTR CALLBACK CPropertyPage::DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    auto* page = reinterpret_cast<CPropertyPage*>(sheetPage->lParam);
    ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
    page->hwnd_ = hwnd;
    return page->OnInitDialog();
  }
  auto* page = reinterpret_cast<CPropertyPage*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  if (page == nullptr) return FALSE;
  return page->Dispatch(message, wParam, lParam);
}

INT_PTR CPropertyPage::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) return Notify(*reinterpret_cast<const NMHDR*>(lParam));
  if (message == WM_COMMAND) return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
  LRESULT result = 0;
  if (!OnMessage(message, wParam, lParam, result)) return FALSE;
  ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CPropertyPage::Notify(const NMHDR& header) {
  LRESULT result = 0;
  switch (header.code) {
    case PSN_SETACTIVE:
      result = OnSetActive() ? 0 : -1;
      break;
    case PSN_WIZNEXT:
      result = OnWizardNext();
      break;
    case PSN_WIZBACK:
      result = OnWizardBack();
      break;
    case PSN_WIZFINISH:
      // Non-zero keeps the wizard open.
      result = OnWizardFinish() ? FALSE : TRUE;
      break;
    default:
      if (!OnNotify(header, result)) return FALSE;
      break;
  }
  ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace ui
