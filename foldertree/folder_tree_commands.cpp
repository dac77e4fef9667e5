// rg_TavelkinMuLuShuKuang1: the context menu (greying, popping up), its
// twelve commands, the new folder and the shortcut keys.
#include <cstdlib>
#include <ctime>

#include "foldertree/folder_tree.h"
#include "framework/win_defs.h"
#include "platform/file_system_ops.h"
#include "platform/random_seed.h"
#include "services/global_settings.h"
#include "textlib/folder_listing.h"
#include "textlib/open_address.h"
#include "textlib/path_helpers.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

using rg_TavelkinMingLingJi_ChuangKouZuJian::kRenameFromKeyboard;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kReplaceRowAndSubtree;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeBoxModel;

namespace {

constexpr int kVkDelete = 0x2E;
constexpr int kVkF3 = 0x72;
constexpr int kVkF5 = 0x74;
constexpr int kVkF7 = 0x76;
constexpr int kKeyC = 0x43;
// MB_OKCANCEL | MB_ICONEXCLAMATION: the two delete questions.
constexpr int kDeleteQuestionStyle = kMbOkCancel | kMbIconWarning;
constexpr char16_t kNewFolderStem[] = u"新文件夹";

bool IsGroupIcon(int icon) { return icon == kIconFavouritesGroup || icon == kIconComputer || icon == kIconSystemGroup; }
bool IsFolderIcon(int icon) { return icon == kIconFolder || icon == kIconFolderSelected; }

// The recycle bin takes the folder itself, named without its separator.
bool MoveFolderToRecycleBin(const CWString& folder) {
  return !folder.IsEmpty() && PlatformHooks().MoveToRecycleBin(StripTrailingBackslash(folder));
}

}  // namespace

void rg_TavelkinMuLuShuKuang1::UpdateFolderMenuStates() {
  const int row = m_treeBox.Model().GetSelectedRow();
  const int icon = row < 0 ? -1 : GetRowIconOf(row);
  const bool group = IsGroupIcon(icon);
  const bool folder = IsFolderIcon(icon);
  const bool favourite = icon == kIconPlace && IsFavouriteRow(row);
  menu.EnableCommand(kFolderCmdOpen, !group);
  menu.EnableCommand(kFolderCmdNewFolder, !group);
  menu.EnableCommand(kFolderCmdDelete, folder || favourite);
  const bool drive = icon == kIconSystemDrive || icon == kIconDrive;
  menu.EnableCommand(kFolderCmdRename, folder || favourite);
  // A label can change only where UDisks2 can change it.
  if (drive) CheckSelectedDriveLabel(row);
  menu.EnableCommand(kFolderCmdCopyPath, !group);
  menu.EnableCommand(kFolderCmdRefresh, !group);
  menu.EnableCommand(kFolderCmdAddFavourite, folder);
}

void rg_TavelkinMuLuShuKuang1::CheckSelectedDriveLabel(int row) {
  // While a new label is being set the item stays greyed.
  if (m_labelChanges > 0) return;
  TreeRowLocator locator;
  const CWString root = GetRowFolderPath(row, locator);
  m_labelCalls.CanChange(root, [this, root](const DriveLabelAnswer& can) {
    if (!can.ok || m_labelChanges > 0) return;
    const int selected = m_treeBox.Model().GetSelectedRow();
    const int icon = selected < 0 ? -1 : GetRowIconOf(selected);
    TreeRowLocator at;
    if ((icon == kIconSystemDrive || icon == kIconDrive) && GetRowFolderPath(selected, at) == root)
      menu.EnableCommand(kFolderCmdRename, true);
  });
}

int rg_TavelkinMuLuShuKuang1::ShowFolderTreeMenu() {
  UpdateFolderMenuStates();
  if (HasWindow() && menu.GetPopup(0)) {
    int x = 0, y = 0;
    PlatformHooks().CursorPosition(x, y);
    // The chosen command comes back to this window as WM_COMMAND.
    menu.TrackPopup(x + 3, y + 3, this);
  }
  Raise(MenuEvent);
  return 0;
}

void rg_TavelkinMuLuShuKuang1::RunFolderTreeMenuCommand(int id) {
  TreeBoxModel& model = m_treeBox.Model();
  const CWString path = GetSelectedFolderPath();
  const int row = model.GetSelectedRow();
  TreeRowLocator locator;
  switch (id) {
    case kFolderCmdRead:
      RaiseFolderPathEvent(0);
      break;
    case kFolderCmdOpen:
      OpenAddress(path, CWString());
      break;
    case kFolderCmdRename:
      m_treeBox.BeginRowRename(row, kRenameFromKeyboard);
      break;
    case kFolderCmdDelete:
      DeleteSelectedRow(row);
      break;
    case kFolderCmdCopyName:
      SetClipboardText(model.GetRowText(row, locator));
      break;
    case kFolderCmdCopyPath:
      SetClipboardText(path);
      break;
    case kFolderCmdCheckChildren:
      CheckChildRows(row);
      break;
    case kFolderCmdRefresh:
      ExpandFolderRow(row, locator);
      break;
    case kFolderCmdAddFavourite:
      AddSelectedToFavourites(path, row);
      break;
    case kFolderCmdNewFolder:
      CreateNewFolder();
      break;
    case kFolderCmdRebuild:
      BuildFolderTreeRoots();
      GoToFolderPath(path);
      break;
    case kFolderCmdGoToClipboard:
      GoToClipboardPath();
      break;
    default:
      break;
  }
}

void rg_TavelkinMuLuShuKuang1::DeleteSelectedRow(int row) {
  TreeBoxModel& model = m_treeBox.Model();
  const int icon = GetRowIconOf(row);
  const CWString path = GetSelectedFolderPath();
  TreeRowLocator locator;
  if (IsFolderIcon(icon)) {
    if (ShowMessageBox(CWString(u"确定要删除到回收站吗？") + path, kMessageCaption, kDeleteQuestionStyle) != kIdOk)
      return;
    if (!MoveFolderToRecycleBin(path)) return;
  } else if (icon == kIconPlace && IsFavouriteRow(row)) {
    const CWString question = CWString(u"确定要删除收藏项吗？") + model.GetRowText(row, locator) +
                              u"\r\n(如果需要连同收藏指向的文件夹一起删除，请按下Ctrl键再点击确定按钮)";
    if (ShowMessageBox(question, kMessageCaption, kDeleteQuestionStyle) != kIdOk) return;
    // Ctrl held as OK is clicked takes the folder along; whether that
    // worked does not keep the favourite.
    if (IsKeyDown(qzu_win::kVkControl)) MoveFolderToRecycleBin(path);
    const int id = model.GetRowUserValue(row, locator);
    const CWString section = FavouritesSection();
    rg_Tavelkin_MingLingJi::DeleteIniKey(section, CWString::FromInt(id) + kFavouriteNameKey);
    rg_Tavelkin_MingLingJi::DeleteIniKey(section, CWString::FromInt(id) + kFavouritePathKey);
    favouritePaths.entries.erase(id);
  } else {
    return;
  }
  TreeRowLocator replaceLocator;
  model.ReplaceRowChildren(row, kReplaceRowAndSubtree, CQzuMem(), 0, replaceLocator);
}

void rg_TavelkinMuLuShuKuang1::CheckChildRows(int row) {
  TreeBoxModel& model = m_treeBox.Model();
  TreeRowLocator rows, starts;
  if (row < 0 || model.CollectChildRows(-1, rows, starts, row) == 0) return;
  const int value = IsKeyDown(qzu_win::kVkControl) ? 0 : 1;
  for (size_t i = 0; i < rows.size(); ++i) {
    TreeRowLocator locator;
    model.LocateRowAtOffset(starts[i], locator);
    model.SetRowFields(rows[i], nullptr, -1, value, locator, 1);
  }
  m_treeBox.PaintTreeBox(-1);
}

void rg_TavelkinMuLuShuKuang1::AddSelectedToFavourites(const CWString& path, int row) {
  TreeBoxModel& model = m_treeBox.Model();
  const int group = model.FindFavouritesRootRow();
  if (group < 0 || row < 0) return;
  const int32_t id = NewFavouriteId();
  TreeRowLocator locator;
  const CWString name = model.GetRowText(row, locator);
  // The section is named again: the settings' current section is shared with
  // every other user of the settings.
  auto& settings = rg_Tavelkin_MingLingJi::GlobalSettings();
  settings.CurrentSection = FavouritesSection();
  settings.WriteMultilineValue(CWString::FromInt(id) + kFavouriteNameKey, name);
  settings.WriteMultilineValue(CWString::FromInt(id) + kFavouritePathKey, path);
  favouritePaths.entries[id] = path;
  TreeRowLocator groupLocator;
  const int added = model.InsertTreeRow(group, name, kIconPlace, kIconNone, id, groupLocator, 1);
  if (added < 0) return;
  if (HasSubFolder(path)) {
    TreeRowLocator addedLocator;
    model.InsertTreeRow(added, kPlaceholderText, kIconNone, kIconNone, 0, addedLocator, 1);
  }
  TreeRowLocator visibleLocator;
  model.EnsureRowVisible(added, visibleLocator);
}

void rg_TavelkinMuLuShuKuang1::GoToClipboardPath() {
  const CWString text = GetClipboardText();
  // Only an absolute path names a place in the tree.
  if (!text.StartsWith(kPathSeparatorText) || !PathExists(text)) {
    ShowMessageBox(CWString(u"剪贴板中的路径不存在：") + text, kMessageCaption, kMbOk);
    return;
  }
  GoToFolderPath(IsExistingFolder(text) ? text : PathFolder(text));
}

void rg_TavelkinMuLuShuKuang1::CreateNewFolder() {
  const CWString parent = GetSelectedFolderPath();
  if (!parent.StartsWith(kPathSeparatorText) || !IsExistingFolder(parent)) return;
  EnsureRandomSeeded();
  CWString name;
  // A name made in the same second with the same number would reuse, and
  // later rename, a folder made before.
  do {
    name = CWString(kNewFolderStem) + CWString::FromInt(static_cast<long long>(std::time(nullptr))) +
           CWString::FromInt(std::rand() % 900 + 100);
  } while (PathExists(parent + name));
  const CWString folder = parent + name;
  if (!CreateFolderWithParents(folder)) {
    ShowMessageBox(CWString(u"创建文件夹失败：") + folder, kMessageCaption, kMbOk);
    return;
  }
  TreeBoxModel& model = m_treeBox.Model();
  const int row = model.GetSelectedRow();
  if (RowHasPlaceholder(row)) {
    TreeRowLocator locator;
    ExpandFolderRow(row, locator);
    GoToFolderPath(folder);
  } else {
    TreeRowLocator locator;
    const int added = model.InsertTreeRow(row, name, kIconFolder, kIconFolderSelected, 0, locator, 0);
    if (added >= 0) model.SelectTreeRow(added);
  }
  m_treeBox.BeginRowRename(model.GetSelectedRow(), kRenameFromKeyboard);
}

int rg_TavelkinMuLuShuKuang1::HandleFolderTreeShortcutKey(int key, int flags) {
  int id = 0;
  switch (key) {
    case kVkF5:
      id = kFolderCmdRead;
      break;
    case kVkF3:
      id = kFolderCmdOpen;
      break;
    case kVkDelete:
      id = kFolderCmdDelete;
      break;
    case kKeyC:
      if (flags & qzu_win::kModCtrl) id = (flags & qzu_win::kModShift) ? kFolderCmdCopyName : kFolderCmdCopyPath;
      break;
    case kVkF7:
      id = kFolderCmdAddFavourite;
      break;
    default:
      break;
  }
  if (id == 0 || m_treeBox.Model().GetSelectedRow() < 0) return 0;
  UpdateFolderMenuStates();
  if (menu.IsCommandEnabled(id)) RunFolderTreeMenuCommand(id);
  return 0;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
