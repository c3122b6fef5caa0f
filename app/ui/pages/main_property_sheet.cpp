#include "app/ui/pages/main_property_sheet.h"

#include "app/ui/resource.h"
#include "base/settings.h"

namespace ui {

namespace {

constexpr UINT kKeyF1 = 0x004D;  // WM_KEYF1

}  // namespace

CMainPropertySheet::CMainPropertySheet(const std::u16string& title)
    : CPropertySheet(title), title_(title) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  icon_ = ::LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
  header().dwFlags |= PSH_WIZARD;
  CPropertyPage* const pages[] = {&license_, &driveSelect_, &backupWarn_, &updateProgress_};
  for (CPropertyPage* page : pages) {
    page->psp().dwFlags &= ~PSP_HASHELP;
    page->SetTitle(title_);
  }
  AddPage(license_);
  AddPage(driveSelect_);
  AddPage(backupWarn_);
  if (!base::Settings().nativeMode) AddPage(updateProgress_);
  // Wine draws the header only from a bitmap handle; Windows draws both.
  headerBitmap_ = ::LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_HEADER));
  header().dwFlags &= ~PSH_HASHELP;
  header().dwFlags |= PSH_WIZARD97 | PSH_HEADER;
  if (headerBitmap_ != nullptr) {
    header().dwFlags |= PSH_USEHBMHEADER;
    header().hbmHeader = headerBitmap_;
  }
  header().hInstance = instance;
}

CMainPropertySheet::~CMainPropertySheet() {
  if (headerBitmap_ != nullptr) ::DeleteObject(headerBitmap_);
}

BOOL CMainPropertySheet::OnInitDialog() {
  CPropertySheet::OnInitDialog();
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd(), GWL_STYLE);
  ::SetWindowLongPtrW(hwnd(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
  return TRUE;
}

bool CMainPropertySheet::PreTranslateMessage(const MSG& message) {
  return message.message == kKeyF1;
}

bool CMainPropertySheet::OnSysCommand(WPARAM command, LPARAM) {
  return (command & 0xFFF0) == SC_CLOSE && !base::Settings().closeAllowed;
}

}  // namespace ui
