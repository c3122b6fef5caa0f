// Drives the wizard the way a user would, from another thread of the
// wizard's process or from another process: the sheet's buttons, the
// pages' radio buttons, keys and the Close command, message boxes
// answered; and reads what the user sees. Button and page changes arrive
// a little after the action, so every reading waits for the state it
// expects. Every call but TreeItems passes no pointer to the wizard, so
// it works across processes too.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tour {

constexpr int kBack = 0x3023;
constexpr int kNext = 0x3024;
constexpr int kFinish = 0x3025;
constexpr int kCancel = IDCANCEL;

// Polls every 10 ms for up to `ms`.
bool WaitFor(const std::function<bool()>& condition, int ms = 5000);

class WizardDriver {
 public:
  // `uiThread` runs the wizard's windows; screenshots go to `pictures`.
  WizardDriver(DWORD uiThread, std::wstring pictures)
      : uiThread_(uiThread), pictures_(std::move(pictures)) {}

  // The sheet, once its window shows; null after a time-out.
  HWND Sheet();
  std::wstring Title();
  // The current page holds control `id` (which tells the pages apart):
  // now, or within the usual wait.
  bool ShowsPageWith(int id);
  bool OnPageWith(int id);
  bool ButtonsAre(bool back, bool next, bool cancel = true);
  bool Checked(int id);
  bool Focused(int id);
  bool HasSystemMenu();

  std::wstring Text(int id);
  bool Visible(int id);
  int ProgressPosition(int id);

  struct TreeItem {
    HTREEITEM handle;
    std::wstring text;
    LPARAM value;
    bool bold;
    int checkBox;  // state image: 0 none, 1 unticked, 2 ticked
    bool group;    // at the root
  };
  // In the wizard's own process only: the item texts travel by pointer.
  std::vector<TreeItem> TreeItems(int id);
  void SelectTreeItem(int id, HTREEITEM item);
  // The drive page has handled what it posted to itself: one of the
  // tree's drives is ticked.
  bool AnyTicked(int id);
  // The space bar on the tree, which toggles the selected item's box.
  void SpaceOnTree(int id);

  void Click(int id);
  void Press(int button);
  void Key(UINT virtualKey);
  void SysCommand(WPARAM command);

  // A message box of the wizard's is open now.
  bool HasMessageBox();
  // The text of the message box the wizard shows; empty after a time-out.
  std::wstring MessageBoxText();
  UINT MessageBoxButtons();
  void Answer(int button);

  // The sheet, with the message box in front of it if there is one, as the
  // screen shows it: NAME.png in the picture folder.
  bool Screenshot(const std::wstring& name);

  bool SheetGone();
  // Ends whatever is left: message boxes, then the sheet, then the loop.
  void EndWizard();

 private:
  HWND Page();
  HWND MessageBoxWindow();

  DWORD uiThread_;
  std::wstring pictures_;
  HWND sheet_ = nullptr;
};

}  // namespace tour
