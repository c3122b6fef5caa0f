#include "app/ui/win/property_sheet.h"

namespace ui {

namespace {

// The sheet whose window PropertySheetW is creating on this thread: its
// callback carries no pointer of ours.
thread_local CPropertySheet* creating = nullptr;

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

CPropertySheet::CPropertySheet(const std::u16string& caption) : caption_(caption) {
  header_.dwSize = sizeof header_;
  header_.hInstance = ::GetModuleHandleW(nullptr);
  header_.pszCaption = W(caption_);
  header_.nStartPage = 0;
}

void CPropertySheet::AddPage(CPropertyPage& page) { pages_.push_back(page.psp()); }

INT_PTR CPropertySheet::DoModal() {
  header_.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_USECALLBACK;
  header_.nPages = static_cast<UINT>(pages_.size());
  header_.ppsp = pages_.data();
  header_.pfnCallback = SheetCallback;
  creating = this;
  hwnd_ = reinterpret_cast<HWND>(::PropertySheetW(&header_));
  creating = nullptr;
  if (hwnd_ == nullptr || hwnd_ == reinterpret_cast<HWND>(-1)) {
    hwnd_ = nullptr;
    return -1;
  }
  MSG message{};
  while (PropSheet_GetCurrentPageHwnd(hwnd_) != nullptr) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) break;  // the quit message, or a broken queue
    if (PreTranslateMessage(message)) continue;
    if (PropSheet_IsDialogMessage(hwnd_, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  const INT_PTR result = PropSheet_GetResult(hwnd_);
  ::RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  return result;
}

int CALLBACK CPropertySheet::SheetCallback(HWND hwnd, UINT message, LPARAM) {
  if (message != PSCB_INITIALIZED || creating == nullptr) return 0;
  CPropertySheet* sheet = creating;
  sheet->hwnd_ = hwnd;
  ::SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(sheet));
  sheet->OnInitDialog();
  return 0;
}

LRESULT CALLBACK CPropertySheet::SubclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* sheet = reinterpret_cast<CPropertySheet*>(data);
  if (message == WM_SYSCOMMAND && sheet->OnSysCommand(wParam, lParam)) return 0;
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace ui
