#include "app/ui/pages/drive_select_dlg.h"

#include <map>

#include "app/ui/resource.h"
#include "drives/enumerate.h"
#include "update/update_run.h"

namespace ui {

CDriveSelectDlg* driveSelectDlg = nullptr;

namespace {

constexpr UINT kHeaderTitle = 104;
constexpr UINT kHeaderSubtitle = 105;
constexpr UINT kChecked = INDEXTOSTATEIMAGEMASK(2);
constexpr UINT kUnchecked = INDEXTOSTATEIMAGEMASK(1);

}  // namespace

CDriveSelectDlg::CDriveSelectDlg() : CPropertyPage(IDD_DRIVE_SELECT) {
  SetHeaderTexts(kHeaderTitle, kHeaderSubtitle);
  driveSelectDlg = this;
  update::SetSelectionSource(&selection);
}

CDriveSelectDlg::~CDriveSelectDlg() {
  if (update::GetSelectionSource() == &selection) update::SetSelectionSource(nullptr);
  if (driveSelectDlg == this) driveSelectDlg = nullptr;
}

HWND CDriveSelectDlg::Tree() const { return Item(IDC_DRIVE_TREE); }

void CDriveSelectDlg::DoDataExchange(DataExchange& exchange) {
  exchange.Text(IDC_MODEL, modelText);
  exchange.Text(IDC_SERIAL, serialText);
  exchange.Text(IDC_FIRMWARE, firmwareText);
  exchange.Text(IDC_MESSAGE, messageText);
}

BOOL CDriveSelectDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  // The tree builds its check-box images at its first paint and resets
  // every state then; setting the style again builds them now, so the
  // ticks set before the first paint stay.
  const HWND tree = Tree();
  const LONG_PTR style = ::GetWindowLongPtrW(tree, GWL_STYLE);
  ::SetWindowLongPtrW(tree, GWL_STYLE, style & ~static_cast<LONG_PTR>(TVS_CHECKBOXES));
  ::SetWindowLongPtrW(tree, GWL_STYLE, style | TVS_CHECKBOXES);
  return TRUE;
}

BOOL CDriveSelectDlg::OnSetActive() {
  SetWizardButtons(PSWIZB_BACK);
  selection.Clear();
  const HWND tree = Tree();
  TreeView_DeleteAllItems(tree);
  driveList = drives::EnumerateDrives();
  std::map<std::uint32_t, HTREEITEM> groups;  // by bus type, ascending
  for (const app::DriveGroup& group : app::GroupDrives(driveList)) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    std::u16string label = group.label;
    insert.item.pszText = const_cast<wchar_t*>(W(label));
    insert.item.lParam = static_cast<LPARAM>(app::kGroupItem);
    const HTREEITEM groupItem = TreeView_InsertItem(tree, &insert);
    for (const std::uint32_t index : group.drives) {
      std::u16string text = app::DriveItemText(index, *driveList[index]);
      TVINSERTSTRUCTW child{};
      child.hParent = groupItem;
      child.hInsertAfter = TVI_LAST;
      child.item.mask = TVIF_TEXT | TVIF_PARAM;
      child.item.pszText = const_cast<wchar_t*>(W(text));
      child.item.lParam = static_cast<LPARAM>(index);
      TreeView_InsertItem(tree, &child);
    }
    // Two bus types may share a label ("ATA/SATA"): each is its own group.
    groups.emplace(group.busType, groupItem);
  }
  for (const auto& [busType, groupItem] : groups) {
    TreeView_Expand(tree, groupItem, TVE_EXPAND);
    ::PostMessageW(hwnd(), WM_GROUP_ADDED, reinterpret_cast<WPARAM>(groupItem), 0);
  }
  return CPropertyPage::OnSetActive();
}

std::uint32_t CDriveSelectDlg::ValueOf(HTREEITEM item) const {
  TVITEMW data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (!TreeView_GetItem(Tree(), &data)) return app::kGroupItem;
  return static_cast<std::uint32_t>(data.lParam);
}

void CDriveSelectDlg::RemoveCheckBox(HTREEITEM item) const {
  TreeView_SetItemState(Tree(), item, 0, TVIS_STATEIMAGEMASK);
}

void CDriveSelectDlg::GroupAdded(HTREEITEM group) {
  if (ValueOf(group) != app::kGroupItem) return;
  const HWND tree = Tree();
  for (HTREEITEM child = TreeView_GetChild(tree, group); child != nullptr;
       child = TreeView_GetNextSibling(tree, child)) {
    const std::uint32_t value = ValueOf(child);
    if (value >= driveList.size() || !driveList[value]->Updatable) {
      RemoveCheckBox(child);
      continue;
    }
    TreeView_SetItemState(tree, child, TVIS_BOLD, TVIS_BOLD);
    TreeView_SetItemState(tree, child, kChecked, TVIS_STATEIMAGEMASK);
    TreeView_SelectItem(tree, child);
    ::PostMessageW(hwnd(), WM_CHECK_CHANGED, reinterpret_cast<WPARAM>(child), 0);
  }
  RemoveCheckBox(group);
}

void CDriveSelectDlg::CheckChanged(HTREEITEM item) {
  const HWND tree = Tree();
  const bool ticked =
      (TreeView_GetItemState(tree, item, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) == kChecked;
  switch (selection.CheckChanged(driveList, ValueOf(item), ticked)) {
    case app::DriveSelection::Box::Remove:
      TreeView_SetItemState(tree, item, kUnchecked, TVIS_STATEIMAGEMASK);
      RemoveCheckBox(item);
      break;
    case app::DriveSelection::Box::Untick:
      TreeView_SetItemState(tree, item, kUnchecked, TVIS_STATEIMAGEMASK);
      break;
    case app::DriveSelection::Box::Keep:
      break;
  }
  SetWizardButtons(selection.Buttons());
}

void CDriveSelectDlg::ShowDetails(HTREEITEM item) {
  const app::DriveDetails details = app::DetailsOf(driveList, ValueOf(item));
  modelText = details.model;
  serialText = details.serial;
  firmwareText = details.firmware;
  messageText = details.message;
  UpdateData(false);
}

bool CDriveSelectDlg::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.idFrom != IDC_DRIVE_TREE) return false;
  result = 0;
  switch (header.code) {
    case NM_CLICK: {
      const DWORD position = ::GetMessagePos();
      TVHITTESTINFO hit{};
      hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
      ::ScreenToClient(Tree(), &hit.pt);
      const HTREEITEM item = TreeView_HitTest(Tree(), &hit);
      if (item != nullptr && (hit.flags & TVHT_ONITEMSTATEICON) != 0) {
        TreeView_SelectItem(Tree(), item);
        ::PostMessageW(hwnd(), WM_CHECK_CHANGED, reinterpret_cast<WPARAM>(item), 0);
      }
      return true;
    }
    case TVN_KEYDOWN: {
      const auto& key = reinterpret_cast<const NMTVKEYDOWN&>(header);
      const HTREEITEM selected = TreeView_GetSelection(Tree());
      if (key.wVKey == VK_SPACE && selected != nullptr) {
        ::PostMessageW(hwnd(), WM_CHECK_CHANGED, reinterpret_cast<WPARAM>(selected), 0);
      }
      return true;
    }
    case TVN_SELCHANGEDW:
      ShowDetails(reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.hItem);
      return true;
    default:
      return false;
  }
}

bool CDriveSelectDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_GROUP_ADDED) {
    GroupAdded(reinterpret_cast<HTREEITEM>(wParam));
  } else if (message == WM_CHECK_CHANGED) {
    CheckChanged(reinterpret_cast<HTREEITEM>(wParam));
  } else {
    return false;
  }
  result = 0;
  return true;
}

LRESULT CDriveSelectDlg::OnWizardNext() { return app::CheckStorageController(); }

}  // namespace ui
