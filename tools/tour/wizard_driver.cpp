#include "tools/tour/wizard_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "tools/tour/png_writer.h"

namespace tour {

namespace {

struct Search {
  bool wantSheet;
  HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  if (!::IsWindowVisible(hwnd)) return TRUE;
  wchar_t name[32] = {};
  ::GetClassNameW(hwnd, name, 32);
  if (std::wstring(name) != L"#32770") return TRUE;
  const bool isSheet = ::GetDlgItem(hwnd, kNext) != nullptr;
  if (isSheet == search->wantSheet) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindWindowOf(DWORD thread, bool sheet) {
  Search search{sheet};
  ::EnumThreadWindows(thread, FindTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// By message, which Windows carries across processes; GetWindowText does
// not ask another process's controls.
std::wstring WindowText(HWND window) {
  const auto length = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  if (window == nullptr || length <= 0) return L"";
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

bool ButtonEnabled(HWND sheet, int id) {
  const HWND button = ::GetDlgItem(sheet, id);
  return button != nullptr && ::IsWindowVisible(button) && ::IsWindowEnabled(button);
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, int ms) {
  for (int waited = 0;; waited += 10) {
    if (condition()) return true;
    if (waited >= ms) return false;
    ::Sleep(10);
  }
}

HWND WizardDriver::Sheet() {
  if (sheet_ != nullptr) return ::IsWindow(sheet_) ? sheet_ : nullptr;  // ended: no wait
  WaitFor([this] { return (sheet_ = FindWindowOf(uiThread_, true)) != nullptr; });
  return sheet_;
}

std::wstring WizardDriver::Title() { return WindowText(Sheet()); }

HWND WizardDriver::Page() {
  const HWND sheet = Sheet();
  return sheet == nullptr ? nullptr : PropSheet_GetCurrentPageHwnd(sheet);
}

bool WizardDriver::ShowsPageWith(int id) {
  const HWND page = Page();
  return page != nullptr && ::IsWindowVisible(page) && ::GetDlgItem(page, id) != nullptr;
}

bool WizardDriver::OnPageWith(int id) {
  return WaitFor([&] { return ShowsPageWith(id); });
}

bool WizardDriver::ButtonsAre(bool back, bool next, bool cancel) {
  return WaitFor([&] {
    const HWND sheet = Sheet();
    return ButtonEnabled(sheet, kBack) == back && ButtonEnabled(sheet, kNext) == next &&
           ButtonEnabled(sheet, kCancel) == cancel;
  });
}

bool WizardDriver::Checked(int id) {
  return ::SendMessageW(::GetDlgItem(Page(), id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool WizardDriver::Focused(int id) {
  return WaitFor([&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(uiThread_, &info) && info.hwndFocus == ::GetDlgItem(Page(), id);
  });
}

bool WizardDriver::HasSystemMenu() {
  return (::GetWindowLongPtrW(Sheet(), GWL_STYLE) & WS_SYSMENU) != 0;
}

std::wstring WizardDriver::Text(int id) { return WindowText(::GetDlgItem(Page(), id)); }

bool WizardDriver::Visible(int id) { return ::IsWindowVisible(::GetDlgItem(Page(), id)) != FALSE; }

int WizardDriver::ProgressPosition(int id) {
  return static_cast<int>(::SendMessageW(::GetDlgItem(Page(), id), PBM_GETPOS, 0, 0));
}

std::vector<WizardDriver::TreeItem> WizardDriver::TreeItems(int id) {
  const HWND tree = ::GetDlgItem(Page(), id);
  std::vector<TreeItem> items;
  // Wine's tree can answer the last root's next sibling with the first
  // root once an item is selected: an item seen again ends the walk.
  const auto seen = [&items](HTREEITEM item) {
    return std::any_of(items.begin(), items.end(), [item](const TreeItem& i) { return i.handle == item; });
  };
  for (HTREEITEM group = TreeView_GetRoot(tree); group != nullptr && !seen(group);
       group = TreeView_GetNextSibling(tree, group)) {
    for (HTREEITEM item = group; item != nullptr && (item == group || !seen(item));
         item = item == group ? TreeView_GetChild(tree, group) : TreeView_GetNextSibling(tree, item)) {
      wchar_t text[256] = {};
      TVITEMW data{};
      data.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_HANDLE;
      data.hItem = item;
      data.pszText = text;
      data.cchTextMax = 256;
      data.stateMask = TVIS_BOLD | TVIS_STATEIMAGEMASK;
      TreeView_GetItem(tree, &data);
      items.push_back({item, text, data.lParam, (data.state & TVIS_BOLD) != 0,
                       static_cast<int>((data.state & TVIS_STATEIMAGEMASK) >> 12), item == group});

    }
  }
  return items;
}

bool WizardDriver::AnyTicked(int id) {
  return WaitFor([&] {
    const HWND tree = ::GetDlgItem(Page(), id);
    // Every item once: the walk stops at one seen before (see TreeItems).
    std::vector<HTREEITEM> seen;
    const auto once = [&seen](HTREEITEM item) {
      if (item == nullptr || std::find(seen.begin(), seen.end(), item) != seen.end()) return false;
      seen.push_back(item);
      return true;
    };
    for (HTREEITEM group = TreeView_GetRoot(tree); once(group); group = TreeView_GetNextSibling(tree, group)) {
      for (HTREEITEM item = TreeView_GetChild(tree, group); once(item);
           item = TreeView_GetNextSibling(tree, item)) {
        if ((TreeView_GetItemState(tree, item, TVIS_STATEIMAGEMASK) >> 12) == 2) return true;
      }
    }
    return false;
  });
}

void WizardDriver::SelectTreeItem(int id, HTREEITEM item) {
  TreeView_SelectItem(::GetDlgItem(Page(), id), item);
}

void WizardDriver::SpaceOnTree(int id) {
  const HWND tree = ::GetDlgItem(Page(), id);
  ::PostMessageW(tree, WM_KEYDOWN, VK_SPACE, 0x00390001);
  ::PostMessageW(tree, WM_KEYUP, VK_SPACE, 0xC0390001);
}

void WizardDriver::Click(int id) { ::SendMessageW(::GetDlgItem(Page(), id), BM_CLICK, 0, 0); }

void WizardDriver::Press(int button) {
  const int which = button == kBack ? PSBTN_BACK : button == kNext ? PSBTN_NEXT
                                                 : button == kFinish ? PSBTN_FINISH
                                                                     : PSBTN_CANCEL;
  PropSheet_PressButton(Sheet(), which);
}

void WizardDriver::Key(UINT virtualKey) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(uiThread_, &info);
  const HWND target = info.hwndFocus != nullptr ? info.hwndFocus : Page();
  ::PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
  ::PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
}

void WizardDriver::SysCommand(WPARAM command) {
  ::PostMessageW(Sheet(), WM_SYSCOMMAND, command, 0);
}

HWND WizardDriver::MessageBoxWindow() { return FindWindowOf(uiThread_, false); }

bool WizardDriver::HasMessageBox() { return MessageBoxWindow() != nullptr; }

std::wstring WizardDriver::MessageBoxText() {
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = MessageBoxWindow()) != nullptr; })) return L"";
  return WindowText(::GetDlgItem(box, 0xFFFF));
}

UINT WizardDriver::MessageBoxButtons() {
  const HWND box = MessageBoxWindow();
  if (box == nullptr) return 0xFFFFFFFF;
  if (::GetDlgItem(box, IDYES) != nullptr) return MB_YESNO;
  return MB_OK;
}

void WizardDriver::Answer(int button) {
  const HWND box = MessageBoxWindow();
  if (box == nullptr) return;
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
  WaitFor([&] { return !::IsWindow(box); });
}

bool WizardDriver::Screenshot(const std::wstring& name) {
  // A message box may come before any sheet, at start-up.
  const HWND sheet = FindWindowOf(uiThread_, true);
  const HWND box = MessageBoxWindow();
  if (sheet == nullptr && box == nullptr) return false;
  // Let the page paint after its last change.
  ::Sleep(300);
  if (sheet != nullptr) {
    ::RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  ::Sleep(200);
  RECT rect{};
  for (const HWND window : {sheet, box}) {
    RECT part{};
    if (window != nullptr && ::GetWindowRect(window, &part)) ::UnionRect(&rect, &rect, &part);
  }
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  const HDC screen = ::GetDC(nullptr);
  const HDC memory = ::CreateCompatibleDC(screen);
  const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4);
  const int rows = ::GetDIBits(memory, bitmap, 0, height, bgra.data(), &info, DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  if (rows != height) return false;
  std::vector<std::uint8_t> rgb;
  rgb.reserve(static_cast<std::size_t>(width) * height * 3);
  for (std::size_t i = 0; i < bgra.size(); i += 4) {
    rgb.insert(rgb.end(), {bgra[i + 2], bgra[i + 1], bgra[i]});
  }
  return WritePng(pictures_ + L"\\" + name + L".png", width, height, rgb);
}

bool WizardDriver::SheetGone() {
  return WaitFor([this] { return FindWindowOf(uiThread_, true) == nullptr; });
}

void WizardDriver::EndWizard() {
  for (int i = 0; i < 5 && MessageBoxWindow() != nullptr; ++i) {
    const HWND box = MessageBoxWindow();
    for (int button : {IDCANCEL, IDNO, IDOK}) {
      if (::GetDlgItem(box, button) == nullptr) continue;
      Answer(button);
      break;
    }
  }
  if (FindWindowOf(uiThread_, true) != nullptr) {
    PropSheet_PressButton(FindWindowOf(uiThread_, true), PSBTN_CANCEL);
    if (WaitFor([this] { return FindWindowOf(uiThread_, true) == nullptr; }, 3000)) return;
  }
  ::PostThreadMessageW(uiThread_, WM_QUIT, 0, 0);
}

}  // namespace tour
