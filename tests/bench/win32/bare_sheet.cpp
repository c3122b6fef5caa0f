// The reference of the wizard's start-up figure: a Wizard 97 sheet of one
// empty page with a header, started as the wizard is.
#include <windows.h>
#include <commctrl.h>

namespace {

INT_PTR CALLBACK EmptyPage(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&classes);
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof page;
  // As the wizard's pages: the sheet's title on the page.
  page.dwFlags = PSP_USETITLE | PSP_USEHEADERTITLE;
  page.pszTitle = L"Bare Wizard 97 sheet";
  page.hInstance = instance;
  page.pszTemplate = MAKEINTRESOURCEW(1);
  page.pfnDlgProc = EmptyPage;
  page.pszHeaderTitle = L"Bare";
  HPROPSHEETPAGE pages[] = {::CreatePropertySheetPageW(&page)};
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_WIZARD | PSH_WIZARD97 | PSH_HEADER;
  header.hInstance = instance;
  header.pszCaption = L"Bare Wizard 97 sheet";
  header.nPages = 1;
  header.phpage = pages;
  ::PropertySheetW(&header);
  return 0;
}
