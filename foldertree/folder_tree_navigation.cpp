// rg_TavelkinMuLuShuKuang1: loading a folder's sub-folders when it opens,
// going to a folder given as a path, the selected folder, and the report of
// a chosen row to the owner.
#include "foldertree/folder_tree.h"
#include "platform/file_system_ops.h"
#include "textlib/folder_listing.h"
#include "textlib/path_helpers.h"
#include "textlib/text_trim.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

using rg_TavelkinMingLingJi_ChuangKouZuJian::kChosenByRightPress;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kReplaceChildrenAsBuilt;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kReplaceRefused;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeBoxModel;

namespace {

// Only absolute paths name folders here: the captions of the computer and
// group rows would otherwise be looked up in the current folder.
bool IsExistingAbsolutePath(const CWString& path) { return path.StartsWith(kPathSeparatorText) && PathExists(path); }

}  // namespace

void rg_TavelkinMuLuShuKuang1::ExpandFolderRow(int row, TreeRowLocator& locator) {
  TreeBoxModel& model = m_treeBox.Model();
  if (row < 0 || row >= model.GetRowCount()) return;
  const CWString folder = GetRowFolderPath(row, locator);
  if (!IsExistingAbsolutePath(folder)) return;
  model.SetRedrawEnabled(0);

  rg_Ombrine_base::rg_WenBenShuZuLei found;
  ListFolderEntries(folder, u"*.*", found, 1);
  const int level = model.GetRowLevel(row, locator);
  CQzuMem batch;
  int count = 0;
  for (const CWString& path : found) {
    // A name the row store refuses (its bytes would form a row marker) is
    // left out together with its placeholder.
    if (!model.AppendRowRecord(batch, PathFileName(path), kIconFolder, kIconFolderSelected, level + 1)) continue;
    ++count;
    if (HasSubFolder(path) && model.AppendRowRecord(batch, kPlaceholderText, kIconNone, kIconNone, level + 2)) ++count;
  }

  // The selection stays on its row: a row below the replaced descendants
  // moves by the difference, one inside them goes to the opened row. It is
  // set before the replacement, whose row chosen event then reports the
  // right row (and a selected last row is not lost for a moment).
  TreeRowLocator range, subtreeLocator;
  const int descendants = model.CountSubtreeRows(row, subtreeLocator, range, 0);
  const int selected = model.GetSelectedRow();
  int moved = selected;
  if (selected > row) moved = selected <= row + descendants ? row : selected + count - descendants;
  if (moved != selected) model.SetSelectedRowValue(moved);
  TreeRowLocator replaceLocator;
  const int replaced = model.ReplaceRowChildren(row, kReplaceChildrenAsBuilt, batch, count, replaceLocator);
  if (replaced == kReplaceRefused) {
    model.SetSelectedRowValue(selected);
  } else if (moved != selected) {
    // A replacement of descendants reported the selection itself; a row
    // that had none did not.
    if (replaced == 0) model.RaiseTreeBoxEvent(model.GetSelectedRow(), model.GetPendingAction(), 0);
    model.SetPendingAction(0);
  }

  model.SetRedrawEnabled(1);
  m_treeBox.PaintTreeBox(-1);
}

int rg_TavelkinMuLuShuKuang1::LocateFolderPathLoading(const CWString& path) {
  TreeBoxModel& model = m_treeBox.Model();
  CWString target = path;
  TrimBlanks(target, kTrimBothEnds);
  if (!IsExistingAbsolutePath(target)) return -1;
  target = AppendTrailingBackslash(target);

  // The root row to walk from, and what is left of the path below it. The
  // desktop and documents folders match as whole folders only: "Desktop
  // old" is not inside "Desktop".
  int start = -1;
  CWString rest;
  const CWString desktop = SpecialFolderWithSeparator(SpecialFolder::Desktop);
  const CWString documents = SpecialFolderWithSeparator(SpecialFolder::Documents);
  TreeRowLocator rows, starts;
  if (!desktop.IsEmpty() && target.StartsWith(desktop)) {
    rest = target.Mid(desktop.Length());
    model.CollectChildRows(0, rows, starts, -1);
    for (int32_t r : rows)
      if (GetRowIconOf(r) == kIconDesktop) {
        start = r;
        break;
      }
    if (start < 0) return -1;
  } else if (!documents.IsEmpty() && target.StartsWith(documents)) {
    rest = target.Mid(documents.Length());
    model.CollectChildRows(0, rows, starts, -1);
    for (int32_t r : rows)
      if (GetRowIconOf(r) == kIconDocuments) {
        start = r;
        break;
      }
    if (start < 0) return -1;
  } else {
    // The file system holding the path: the drive row with the longest
    // mount point the path lies in.
    int best = -1;
    model.CollectChildRows(1, rows, starts, -1);
    for (int32_t r : rows) {
      const int icon = GetRowIconOf(r);
      if (icon != kIconSystemDrive && icon != kIconDrive) continue;
      TreeRowLocator locator;
      const CWString root = GetRowFolderPath(r, locator);
      if (!root.IsEmpty() && target.StartsWith(root) && root.Length() > best) {
        best = root.Length();
        start = r;
      }
    }
    if (start < 0) return -1;
    rest = target.Mid(best);
  }

  // Folder names are taken as they are: blanks at either end belong to a
  // name here.
  const std::vector<CWString> names = rest.Split(kPathSeparatorText, false, true);
  auto select = [&](int row) {
    model.SelectTreeRow(row);
    m_treeBox.Display().SetFocus();
    return row;
  };
  if (names.empty()) return select(start);
  if (RowHasPlaceholder(start)) {
    TreeRowLocator locator;
    ExpandFolderRow(start, locator);
  }
  int at = start;
  for (size_t i = 0; i < names.size(); ++i) {
    TreeRowLocator atLocator, candidateLocator;
    const int level = model.GetRowLevel(at, atLocator);
    int candidate = at + 1;
    if (model.GetRowLevel(candidate, candidateLocator) != level + 1) return -1;
    while (model.GetRowText(candidate, candidateLocator) != names[i]) {
      TreeRowLocator sibling;
      candidate = model.FindNextSiblingRow(candidate, candidateLocator, sibling);
      if (candidate < 0) return -1;
      candidateLocator = sibling;
    }
    at = candidate;
    if (i + 1 == names.size()) return select(at);
    if (RowHasPlaceholder(at)) {
      TreeRowLocator locator;
      ExpandFolderRow(at, locator);
    }
  }
  return -1;
}

void rg_TavelkinMuLuShuKuang1::GoToFolderPath(const CWString& path) {
  if (LocateFolderPathLoading(path) != -1) return;
  if (!PathExists(path)) return;
  BuildFolderTreeRoots();
  LocateFolderPathLoading(path);
}

CWString rg_TavelkinMuLuShuKuang1::GetSelectedFolderPath() {
  TreeRowLocator locator;
  return GetRowFolderPath(-1, locator);
}

int rg_TavelkinMuLuShuKuang1::OnFolderRowChosen(int row, int how) {
  if (row == -1 || how == kChosenByRightPress) return 0;
  if (markChosen) {
    TreeBoxModel& model = m_treeBox.Model();
    TreeRowLocator checked;
    const int count = model.CollectCheckedRows(checked);
    if (count == 1) {
      TreeRowLocator locator;
      model.SetRowCheckState(checked[0], 0, 0, locator, 1);
    }
    if (count < 2) {
      TreeRowLocator locator;
      model.SetRowCheckState(row, 1, 0, locator, 0);
    }
  }
  RaiseFolderPathEvent(how);
  return 0;
}

intptr_t rg_TavelkinMuLuShuKuang1::RaiseFolderPathEvent(int code) {
  if (m_destroying) return 0;
  return Raise(FolderPathEvent, code);
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
