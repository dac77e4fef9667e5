// rg_TavelkinMuLuShuKuang1: the kinds of rows, the folder of each, and what
// an in-place rename does to each kind.
#include <cerrno>

#include "foldertree/drive_label_udisks.h"
#include "foldertree/folder_tree.h"
#include "platform/file_system_ops.h"
#include "services/global_settings.h"
#include "textlib/path_helpers.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeBoxModel;

namespace {

constexpr char16_t kLabelRefusedMessage[] = u"无法修改卷标：";
constexpr char16_t kNameNotShownMessage[] = u"目录树不能显示这个名称：";

bool IsFolderIcon(int icon) { return icon == kIconFolder || icon == kIconFolderSelected; }

// A name that would put the folder somewhere else, or nowhere.
bool IsPlainFolderName(const CWString& name) {
  return name != u"." && name != u".." && name.Find(kPathSeparator) < 0 && name.Find(u'\0') < 0;
}

CWString Item(const rg_Ombrine_base::rg_WenBenShuZuLei& list, int index) {
  return index >= 0 && index < list.GetCount() ? list[static_cast<size_t>(index)] : CWString();
}

}  // namespace

int rg_TavelkinMuLuShuKuang1::GetRowIconOf(int row) {
  TreeRowLocator locator;
  return m_treeBox.Model().GetRowIcon(row, locator);
}

bool rg_TavelkinMuLuShuKuang1::IsFavouriteRow(int row) {
  TreeBoxModel& model = m_treeBox.Model();
  TreeRowLocator locator, parentLocator;
  if (model.GetRowIcon(row, locator) != kIconPlace) return false;
  const int parent = model.FindParentRow(row, locator, parentLocator);
  return parent >= 0 && model.GetRowIcon(parent, parentLocator) == kIconFavouritesGroup;
}

CWString rg_TavelkinMuLuShuKuang1::GetRowFolderPath(int row, TreeRowLocator& locator) {
  TreeBoxModel& model = m_treeBox.Model();
  if (row == -1) {
    row = model.GetSelectedRow();
    // The caller's locator was made for no row in particular.
    locator.Empty();
  }
  if (row < 0 || row >= model.GetRowCount()) return CWString();
  switch (model.GetRowIcon(row, locator)) {
    case kIconDesktop:
      return SpecialFolderWithSeparator(SpecialFolder::Desktop);
    case kIconDocuments:
      return SpecialFolderWithSeparator(SpecialFolder::Documents);
    case kIconComputer:
      return kComputerCaption;
    case kIconSystemGroup:
      return kSystemGroupCaption;
    case kIconFavouritesGroup:
      return kFavouritesCaption;
    case kIconSystemDrive:
    case kIconDrive:
      return Item(drivePaths, model.GetRowUserValue(row, locator));
    case kIconPlace: {
      const int value = model.GetRowUserValue(row, locator);
      if (IsFavouriteRow(row)) return favouritePaths.Get(value);
      return Item(systemFolderPaths, value);
    }
    case kIconFolder:
    case kIconFolderSelected: {
      // The names up to the nearest row that is not a folder, whose path
      // they continue.
      CWString suffix;
      int at = row;
      TreeRowLocator current = locator;
      while (at >= 0 && IsFolderIcon(model.GetRowIcon(at, current))) {
        suffix = model.GetRowText(at, current) + kPathSeparatorText + suffix;
        TreeRowLocator parentLocator;
        at = model.FindParentRow(at, current, parentLocator);
        current = parentLocator;
      }
      if (at < 0) return CWString();
      const CWString base = GetRowFolderPath(at, current);
      return base.IsEmpty() ? CWString() : base + suffix;
    }
    default:
      return CWString();
  }
}

int rg_TavelkinMuLuShuKuang1::PrepareFolderRename(int row) {
  const int icon = GetRowIconOf(row);
  if (IsFolderIcon(icon)) return 0;
  if (icon == kIconPlace) return IsFavouriteRow(row) ? 0 : 1;
  if (icon == kIconSystemDrive || icon == kIconDrive) return PrepareLabelRename(row);
  return 1;
}

int rg_TavelkinMuLuShuKuang1::PrepareLabelRename(int row) {
  TreeBoxModel& model = m_treeBox.Model();
  TreeRowLocator locator;
  const int userValue = model.GetRowUserValue(row, locator);
  const CWString root = Item(drivePaths, userValue);
  const CWString suffix = DriveRowSuffix(root);
  const CWString text = model.GetRowText(row, locator);
  // The second request, made below, finds the bare label: the edit opens.
  if (!text.EndsWith(suffix)) return 0;
  // One question at a time, and none while a new label is being set.
  if (m_labelRenameAsked || m_labelChanges > 0) return 1;
  m_labelRenameAsked = true;
  m_labelCalls.CanChange(root, [this, userValue, root, suffix](const DriveLabelAnswer& can) {
    m_labelRenameAsked = false;
    if (!can.ok) {
      ShowMessageBox(kLabelRefusedMessage + can.reason, kMessageCaption, kMbOk | kMbIconInformation);
      return;
    }
    // The rows may have changed while UDisks2 was asked.
    const int at = FindDriveRow(userValue, root);
    TreeRowLocator atLocator;
    const CWString now = at < 0 ? CWString() : m_treeBox.Model().GetRowText(at, atLocator);
    if (at < 0 || !now.EndsWith(suffix)) return;
    // The edit field shows the label alone; ApplyFolderRename puts the mount
    // point back, whatever the outcome (every rename the tree box starts is
    // committed).
    const CWString label = now.Left(now.Length() - suffix.Length());
    m_treeBox.Model().SetRowFields(at, &label, -1, -1, atLocator, 0);
    m_treeBox.BeginRowRename(at, rg_TavelkinMingLingJi_ChuangKouZuJian::kRenameFromKeyboard);
  });
  return 1;
}

int rg_TavelkinMuLuShuKuang1::FindDriveRow(int userValue, const CWString& root) {
  TreeBoxModel& model = m_treeBox.Model();
  if (Item(drivePaths, userValue) != root) return -1;
  for (int row = 0; row < model.GetRowCount(); ++row) {
    TreeRowLocator locator;
    const int icon = model.GetRowIcon(row, locator);
    if ((icon == kIconSystemDrive || icon == kIconDrive) && model.GetRowUserValue(row, locator) == userValue)
      return row;
  }
  return -1;
}

int rg_TavelkinMuLuShuKuang1::ApplyFolderRename(int row, const CWString& oldText, const CWString& newText) {
  const bool changed = !newText.IsEmpty() && newText != oldText;
  const int icon = GetRowIconOf(row);
  TreeRowLocator rowLocator;
  if (changed && (IsFolderIcon(icon) || IsFavouriteRow(row)) &&
      !m_treeBox.Model().AcceptsRowText(row, newText, rowLocator)) {
    // The row could not show the name: a folder renamed on disk would no
    // longer match its row, and a favourite stored under it would be left
    // out of every later build of the tree.
    ShowMessageBox(kNameNotShownMessage + newText, kMessageCaption, kMbOk | kMbIconWarning);
    return 1;
  }
  if (IsFolderIcon(icon)) {
    if (!changed) return 1;
    if (!IsPlainFolderName(newText)) {
      ShowMessageBox(CWString(u"文件夹名称不能包含“/”，也不能是“.”或“..”：") + newText, kMessageCaption,
                     kMbOk | kMbIconWarning);
      return 1;
    }
    TreeRowLocator locator;
    const CWString from = StripTrailingBackslash(GetRowFolderPath(row, locator));
    if (from.IsEmpty()) return 1;
    const CWString to = PathFolder(from) + kPathSeparatorText + newText;
    int error = 0;
    if (RenameWithoutReplacing(from, to, &error)) return ShowRenamedRow(row, newText);
    if (error == EEXIST) {
      // A rename never replaces or merges into what is already there.
      ShowMessageBox(CWString(u"已经存在同名的文件夹或文件，不能重命名：") + to, kMessageCaption,
                     kMbOk | kMbIconWarning);
    }
    return 1;
  }
  if (icon == kIconSystemDrive || icon == kIconDrive) {
    ApplyLabelRename(row, oldText, newText);
    return 1;
  }
  if (icon == kIconPlace && IsFavouriteRow(row)) {
    if (!changed) return 1;
    TreeRowLocator locator;
    const int id = m_treeBox.Model().GetRowUserValue(row, locator);
    auto& settings = rg_Tavelkin_MingLingJi::GlobalSettings();
    settings.CurrentSection = FavouritesSection();
    if (!settings.WriteMultilineValue(CWString::FromInt(id) + kFavouriteNameKey, newText)) return 1;
    return ShowRenamedRow(row, newText);
  }
  return 1;
}

void rg_TavelkinMuLuShuKuang1::ApplyLabelRename(int row, const CWString& oldText, const CWString& newText) {
  TreeBoxModel& model = m_treeBox.Model();
  TreeRowLocator locator;
  const int userValue = model.GetRowUserValue(row, locator);
  const CWString root = Item(drivePaths, userValue);
  const CWString suffix = DriveRowSuffix(root);
  const CWString shown = oldText + suffix;
  if (!newText.IsEmpty() && newText != oldText) {
    if (!model.AcceptsRowText(row, newText + suffix, locator)) {
      ShowMessageBox(kNameNotShownMessage + newText, kMessageCaption, kMbOk | kMbIconWarning);
    } else {
      // The row keeps its label until UDisks2 has set the new one.
      ++m_labelChanges;
      m_labelCalls.Change(root, newText, [this, userValue, root, newText, suffix](const DriveLabelAnswer& done) {
        --m_labelChanges;
        if (!done.ok) {
          ShowMessageBox(kLabelRefusedMessage + done.reason, kMessageCaption, kMbOk | kMbIconWarning);
          return;
        }
        const int at = FindDriveRow(userValue, root);
        if (at < 0) return;
        const CWString labelled = newText + suffix;
        TreeRowLocator atLocator;
        m_treeBox.Model().SetRowFields(at, &labelled, -1, -1, atLocator, 0);
      });
    }
  }
  // The message box ran the event loop: the row is located afresh.
  TreeRowLocator fresh;
  model.SetRowFields(row, &shown, -1, -1, fresh, 0);
}

int rg_TavelkinMuLuShuKuang1::ShowRenamedRow(int row, const CWString& text) {
  TreeBoxModel& model = m_treeBox.Model();
  TreeRowLocator locator;
  model.SetRowFields(row, &text, -1, -1, locator, 0);
  // The owner shows the selected folder's path (the folder-choice dialog's
  // path box): it names the folder as it is now.
  if (row == model.GetSelectedRow()) RaiseFolderPathEvent(0);
  return 0;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
