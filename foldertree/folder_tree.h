#pragma once
// rg_TavelkinMuLuShuKuang1: the folder tree. A container that embeds one tree
// box (child 101, in the short-header mode) and shows in it the places a user
// picks folders from, as root rows:
//   桌面      the desktop folder (icon 11)
//   我的文档  the documents folder (icon 7)
//   我的电脑  the computer (icon 6, opened), one row per mounted file system
//             below it: label + " (" + mount point + ")", icon 9 for the
//             root file system "/", 10 for the others
//   系统夹    the user's other folders (icon 8): home, the XDG user folders,
//             fonts, menu and autostart entries, data, configuration, temporary
//   收藏夹    the favourites (icon 2), kept in the settings (below)
// System folders and favourites have icon 3; ordinary folders icon 5 (4 when
// selected). The icon tells a row's kind, and GetRowFolderPath its folder
// (every folder path ends with the separator); the computer and the two
// group rows give their captions, which name no folder.
//
// Sub-folders are read only when a folder is opened: until then a folder
// that has any carries one "+" placeholder child (icon -1).
//
// Favourites live in the global settings, section treeCaption + "_收藏夹":
// per favourite, id + "名称" holds its caption and id + "路径" its folder,
// as multi-line values. An id is the Unix time in seconds when it was made,
// moved on to the next free number when that is taken. An empty section gets
// the favourite "本软件所在目录", the program's folder. The folder tree
// changes the settings in memory only; their owner saves them.
//
// Renames in place: a folder gets its new name on disk (never replacing
// anything there: names holding "/" or "..", and names taken, are refused
// with a message), a favourite its new caption in the settings, a mounted
// file system a new label through UDisks2 (foldertree/drive_label_udisks.h;
// the edit field holds the bare label, and "无法修改卷标：" + the reason is
// shown when the label cannot or may not change); other rows refuse. A name
// the tree box could not show is refused with a message before anything
// changes.
//
// Events, raised as handler(receiver, folder tree, user data, arguments):
//   FilesDroppedEvent (paths): items dropped on the tree box;
//   FolderPathEvent (code): a row was chosen (code: how it was, as the tree
//     box's row chosen event tells it; 0 for the read command and for a
//     rename of the selected row); the handler asks GetSelectedFolderPath;
//   MenuEvent (): the context menu closed;
//   CheckChangedEvent (): a row's check box was cycled.
//
// UI thread only. Messages go through ShowMessageBox, the clipboard and the
// recycle bin through the platform hooks, the drives through
// FolderTreeDrives() (foldertree/folder_tree_drives.h).
#include <cstdint>

#include "common/arrays.h"
#include "common/event.h"
#include "common/int_text_map.h"
#include "foldertree/drive_label_udisks.h"
#include "foldertree/folder_tree_menu.h"
#include "foldertree/tree_box.h"
#include "framework/win_container.h"
#include "platform/hooks.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

using rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinShuXingKuang;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeRowLocator;

// The image list (index = resource id - kFirstFolderTreeIcon) and the row
// kinds the icons tell.
enum FolderTreeIcon : int32_t {
  kIconNone = -1,            // the "+" placeholder
  kIconDocument = 0,         // loaded, drawn for no row
  kIconOpenFolder = 1,       // loaded, drawn for no row
  kIconFavouritesGroup = 2,  // 收藏夹
  kIconPlace = 3,            // a system folder, or a favourite under 收藏夹
  kIconFolderSelected = 4,   // the selected icon of folder rows; also reads as a folder
  kIconFolder = 5,
  kIconComputer = 6,
  kIconDocuments = 7,
  kIconSystemGroup = 8,  // 系统夹
  kIconSystemDrive = 9,  // the root file system
  kIconDrive = 10,
  kIconDesktop = 11,
};
inline constexpr int32_t kFirstFolderTreeIcon = 516;
inline constexpr int kFolderTreeIconCount = 12;
inline constexpr int kFolderTreeBoxId = 101;

inline constexpr char16_t kPlaceholderText[] = u"+";
inline constexpr char16_t kDesktopCaption[] = u"桌面";
inline constexpr char16_t kDocumentsCaption[] = u"我的文档";
inline constexpr char16_t kComputerCaption[] = u"我的电脑";
inline constexpr char16_t kSystemGroupCaption[] = u"系统夹";
inline constexpr char16_t kFavouritesCaption[] = u"收藏夹";
inline constexpr char16_t kDefaultTreeCaption[] = u"目录树";
inline constexpr char16_t kFavouritesSectionSuffix[] = u"_收藏夹";
inline constexpr char16_t kFavouriteNameKey[] = u"名称";
inline constexpr char16_t kFavouritePathKey[] = u"路径";
inline constexpr char16_t kDefaultFavouriteCaption[] = u"本软件所在目录";
inline constexpr char16_t kMessageCaption[] = u"信息:";

// A folder as the tree keeps it: with its trailing separator, or empty when
// the system does not report it.
CWString FolderWithSeparator(const CWString& path);
// A special folder of the platform hooks in that form.
CWString SpecialFolderWithSeparator(SpecialFolder folder);
// What a drive row shows after the label: " (" + the mount point + ")", the
// mount point without its trailing separator unless it is "/".
CWString DriveRowSuffix(const CWString& root);

class rg_TavelkinMuLuShuKuang1 : public rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi {
  QZU_DECLARE_CLASS(rg_TavelkinMuLuShuKuang1)

 public:
  // ConstructFolderTree: the members at their defaults, the receiver made,
  // the window's background the parent's colour. No window, no rows.
  rg_TavelkinMuLuShuKuang1();
  // DestroyFolderTree: the receiver is detached first (a handler already
  // running completes, later calls are refused).
  ~rg_TavelkinMuLuShuKuang1() override;

  // Equal only to itself (the embedded tree box compares by identity).
  bool IsEqual(const CQzuObject& other) const override;
  // Refuses (0) anything but a folder tree; copies the window part (shared)
  // and every member but the event slots and the receiver.
  int CopyFrom(const CQzuObject& source) override;
  // The base's text member, the shown flag, the tree box, the icons-loaded
  // flag, the caption, the mark-chosen flag, the favourite paths, the
  // system-folder paths, the drive paths and the menu.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;
  // 379 x 514 logical pixels.
  int DefaultWidth() const override;
  int DefaultHeight() const override;

  rg_TavelkinShuXingKuang& TreeBox() { return m_treeBox; }
  // treeCaption + "_收藏夹".
  CWString FavouritesSection() const;

  // --- Construction, icons, roots (folder_tree.cpp) ---------------------------
  int ResizeFolderTree();
  // The shown event: the first one fills the icon list and builds the roots.
  int LoadFolderTreeIcons();
  int OnFolderTreeHidden();
  // Throws every row away (the selection too) and builds the roots afresh
  // from the system and the settings.
  void BuildFolderTreeRoots();
  // The tree box's before-expand event: a collapsed row whose child is the
  // placeholder gets its sub-folders first. Never vetoes (0).
  int OnFolderExpandClicked(int row);
  // The menu's commands arrive as WM_COMMAND.
  int OnFolderTreeCommandMessage(int message, intptr_t wParam);

  // --- Row kinds, paths, rename (folder_tree_paths.cpp) -----------------------
  // The folder of a row (-1: the selected row), ending with the separator;
  // the captions of the computer and group rows; empty for a placeholder,
  // a row that does not exist and a place the system does not report.
  CWString GetRowFolderPath(int row, TreeRowLocator& locator);
  int GetRowIconOf(int row);
  // Icon 3 under the favourites group.
  bool IsFavouriteRow(int row);
  // The tree box's before-rename event: 0 lets the rename start, 1 vetoes.
  int PrepareFolderRename(int row);
  // The tree box's rename committed event: 0 lets the tree box show the new
  // text, 1 keeps the row's text.
  int ApplyFolderRename(int row, const CWString& oldText, const CWString& newText);

  // --- Loading and navigation (folder_tree_navigation.cpp) --------------------
  // Puts the row's sub-folders (each with a placeholder when it has
  // sub-folders itself) in place of its descendants; the selection stays on
  // the row it was on. Nothing when the row's folder does not exist.
  void ExpandFolderRow(int row, TreeRowLocator& locator);
  // Finds the row of an existing folder, loading the folders on the way, and
  // selects it: under the desktop or documents root when the path lies in
  // that folder, else under the file system holding it. Folder names are
  // compared whole and exactly. The row, or -1 (nothing selected then).
  int LocateFolderPathLoading(const CWString& path);
  // LocateFolderPathLoading; when the folder exists but is not found, the
  // roots are rebuilt and it is tried once more.
  void GoToFolderPath(const CWString& path);
  CWString GetSelectedFolderPath();
  // The tree box's row chosen event: the check mark follows the chosen row
  // (with markChosen), then FolderPathEvent; right presses (how 3) do nothing.
  int OnFolderRowChosen(int row, int how);
  intptr_t RaiseFolderPathEvent(int code);

  // --- Menu and commands (folder_tree_commands.cpp) --------------------------
  // The tree box's row right-clicked event: greys the items for the selected
  // row, pops the menu up at the pointer, then raises MenuEvent.
  int ShowFolderTreeMenu();
  void UpdateFolderMenuStates();
  // A call to UDisks2 for a drive label has not answered yet.
  bool IsDriveLabelCallRunning() const { return m_labelCalls.Running() > 0; }
  void RunFolderTreeMenuCommand(int id);
  // The tree box's key event: F5, F3, Del, Ctrl+Shift+C, Ctrl+C and F7 run
  // their command when a row is selected and the item is not greyed.
  int HandleFolderTreeShortcutKey(int key, int flags);
  // A new folder in the selected folder ("新文件夹" + time + a number),
  // selected and in rename.
  void CreateNewFolder();

  // --- Members, in stream order -------------------------------------------------
  int32_t shown = 0;
  int32_t iconsLoaded = 0;
  CWString treeCaption = kDefaultTreeCaption;
  int32_t markChosen = 1;                                            // choosing a row moves the single check mark to it
  rg_Ombrine_base::rg_ZhengShuDaoWenBenMoXuHaXiBiao favouritePaths;  // favourite id -> folder
  rg_Ombrine_base::rg_WenBenShuZuLei systemFolderPaths;              // item i for the row with user value i
  rg_Ombrine_base::rg_WenBenShuZuLei drivePaths;                     // mount point of drive row i
  rg_TavelkinMuLuShuKuangCaiChanLei menu;

  CQzuEventSlot<const CMStringArray&> FilesDroppedEvent;
  CQzuEventSlot<int> FolderPathEvent;
  CQzuEventSlot<> MenuEvent;
  CQzuEventSlot<> CheckChangedEvent;

 protected:
  void CreateChildren() override;

 private:
  void CopyFolderTreeValues(const rg_TavelkinMuLuShuKuang1& source);
  // Appends a place row and, when its folder has sub-folders, a placeholder.
  void AppendPlaceRow(const CWString& text, int icon, int userValue, int expand, int level, const CWString& folder);
  void AppendFavouriteRows();
  // A favourite id not in use in the section: the time, or the next free one.
  int32_t NewFavouriteId();
  void DeleteSelectedRow(int row);
  void CheckChildRows(int row);
  void AddSelectedToFavourites(const CWString& path, int row);
  void GoToClipboardPath();
  bool RowHasPlaceholder(int row);
  // A drive row's rename: vetoed (1) at once, UDisks2 is asked whether the
  // label can change, and when it answers the edit starts on the bare label,
  // or the reason is shown.
  int PrepareLabelRename(int row);
  // Gives the row its mount point back and asks UDisks2 for the new label;
  // the row shows it when UDisks2 has set it.
  void ApplyLabelRename(int row, const CWString& oldText, const CWString& newText);
  // With the rename item greyed, asks UDisks2 whether the selected drive's
  // label can change; the answer brings the item back when that row is
  // still selected.
  void CheckSelectedDriveLabel(int row);
  // The drive row of drive path `userValue` while it still stands for
  // `root`, or -1.
  int FindDriveRow(int userValue, const CWString& root);
  // After a rename: the row shows `text`, and a selected row is reported
  // again through FolderPathEvent. 0, for the tree box to keep the text.
  int ShowRenamedRow(int row, const CWString& text);

  friend struct FolderTreeHandlers;

  CQzuReceiverRef m_receiver;
  rg_TavelkinShuXingKuang m_treeBox;
  int32_t m_destroying = 0;
  int m_labelChanges = 0;        // new labels asked for and not answered
  bool m_labelRenameAsked = false;  // a drive rename waits for UDisks2's answer
  // Last, so it goes first: no answer arrives at a tree being destroyed.
  DriveLabelCalls m_labelCalls;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
