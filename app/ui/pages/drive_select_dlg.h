// The drive selection page: on every activation a fresh enumeration in a
// tree grouped by bus type, qualifying drives ticked and bold, the others
// and the groups without a check box; the details of the selected item;
// Next with the storage-controller check. Its selection is what the update
// takes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/ui/win/property_page.h"
#include "app/wizard/drive_selection.h"
#include "drives/drive.h"

namespace ui {

constexpr UINT WM_CHECK_CHANGED = WM_USER + 1;
constexpr UINT WM_GROUP_ADDED = WM_USER + 2;

class CDriveSelectDlg final : public CPropertyPage {
 public:
  CDriveSelectDlg();
  ~CDriveSelectDlg() override;

  app::DriveSelection selection;
  drives::DriveList driveList;

 protected:
  void DoDataExchange(DataExchange& exchange) override;
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  LRESULT OnWizardNext() override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  HWND Tree() const;
  std::uint32_t ValueOf(HTREEITEM item) const;
  void RemoveCheckBox(HTREEITEM item) const;
  void GroupAdded(HTREEITEM group);
  void CheckChanged(HTREEITEM item);
  void ShowDetails(HTREEITEM item);

  std::u16string modelText;
  std::u16string serialText;
  std::u16string firmwareText;
  std::u16string messageText;
};

extern CDriveSelectDlg* driveSelectDlg;

}  // namespace ui
