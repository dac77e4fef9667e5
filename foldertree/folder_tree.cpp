// rg_TavelkinMuLuShuKuang1: construction, copies, the stream form, the child
// tree box and its events, the icons, the roots and the favourites. Row
// kinds, paths and renames are in folder_tree_paths.cpp, loading and
// navigation in folder_tree_navigation.cpp, the menu's commands in
// folder_tree_commands.cpp.
#include "foldertree/folder_tree.h"

#include <ctime>
#include <set>

#include "common/dpi.h"
#include "components/icon_render_cache.h"
#include "foldertree/folder_tree_drives.h"
#include "framework/win_defs.h"
#include "platform/hooks.h"
#include "services/global_settings.h"
#include "textlib/folder_listing.h"
#include "textlib/path_helpers.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

using rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi;
using rg_Tavelkin_MingLingJi::GlobalSettings;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeBoxModel;

QZU_IMPLEMENT_CLASS(rg_TavelkinMuLuShuKuang1, rg_ZuJianBuJuQi,
                    "rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::rg_TavelkinMuLuShuKuang1")

// The forwarders of the folder tree's and the tree box's events.
struct FolderTreeHandlers {
  static rg_TavelkinMuLuShuKuang1* Self(CQzuObject* r) { return static_cast<rg_TavelkinMuLuShuKuang1*>(r); }
  static intptr_t Resized(CQzuObject* r, CQzuObject*, intptr_t, int, int) { return Self(r)->ResizeFolderTree(); }
  static intptr_t Shown(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->LoadFolderTreeIcons(); }
  static intptr_t Hidden(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->OnFolderTreeHidden(); }
  static intptr_t Message(CQzuObject* r, CQzuObject*, intptr_t, int message, intptr_t wParam, intptr_t) {
    return Self(r)->OnFolderTreeCommandMessage(message, wParam);
  }
  static intptr_t Dropped(CQzuObject* r, CQzuObject* sender, intptr_t, const CMStringArray& paths) {
    rg_TavelkinMuLuShuKuang1* self = Self(r);
    if (sender == &self->m_treeBox) self->Raise(self->FilesDroppedEvent, paths);
    return 0;
  }
  static intptr_t BeforeRename(CQzuObject* r, CQzuObject*, intptr_t, int row, CWString&) {
    return Self(r)->PrepareFolderRename(row);
  }
  static intptr_t RenameCommitted(CQzuObject* r, CQzuObject*, intptr_t, int row, CWString& before, CWString& now) {
    return Self(r)->ApplyFolderRename(row, before, now);
  }
  static intptr_t Chosen(CQzuObject* r, CQzuObject*, intptr_t, int row, int how, int) {
    return Self(r)->OnFolderRowChosen(row, how);
  }
  static intptr_t BeforeExpand(CQzuObject* r, CQzuObject*, intptr_t, int row) {
    return Self(r)->OnFolderExpandClicked(row);
  }
  static intptr_t RightClicked(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->ShowFolderTreeMenu(); }
  static intptr_t Key(CQzuObject* r, CQzuObject*, intptr_t, int key, int flags) {
    return Self(r)->HandleFolderTreeShortcutKey(key, flags);
  }
  static intptr_t CheckChanged(CQzuObject* r, CQzuObject*, intptr_t, int) {
    rg_TavelkinMuLuShuKuang1* self = Self(r);
    self->Raise(self->CheckChangedEvent);
    return 0;
  }
};

namespace {

// The rows of the system-folder group, user value i for item i.
struct SystemFolderRow {
  const char16_t* caption;
  SpecialFolder folder;
};
constexpr SystemFolderRow kSystemFolders[] = {
    {u"主文件夹", SpecialFolder::Home},
    {u"下载", SpecialFolder::Downloads},
    {u"图片", SpecialFolder::Pictures},
    {u"音乐", SpecialFolder::Music},
    {u"视频", SpecialFolder::Videos},
    {u"模板", SpecialFolder::Templates},
    {u"公共", SpecialFolder::PublicShare},
    {u"系统字体", SpecialFolder::Fonts},
    {u"程序菜单组", SpecialFolder::Applications},
    {u"启动菜单组", SpecialFolder::Autostart},
    {u"程序数据目录", SpecialFolder::DataHome},
    {u"配置目录", SpecialFolder::ConfigHome},
    {u"临时文件目录", SpecialFolder::Temporary},
};

// Logical sizes of the twelve icons, from resource 516 on.
struct IconSize {
  int width, height;
};
constexpr IconSize kIconSizes[kFolderTreeIconCount] = {{24, 24}, {24, 24}, {24, 22}, {24, 24}, {24, 24}, {24, 24},
                                                       {24, 24}, {24, 20}, {24, 24}, {22, 24}, {22, 24}, {24, 24}};

constexpr char16_t kTreeFontFace[] = u"微软雅黑";
constexpr int kTreeFontSize = 12;

}  // namespace

// The folder as the tree shows it: with its trailing separator, or empty
// when the system does not report it.
CWString FolderWithSeparator(const CWString& path) {
  return path.IsEmpty() ? CWString() : AppendTrailingBackslash(path);
}

// The desktop and documents folders, as the roots and the navigation read them.
CWString SpecialFolderWithSeparator(SpecialFolder folder) {
  return FolderWithSeparator(PlatformHooks().SpecialFolderPath(folder));
}

CWString DriveRowSuffix(const CWString& root) {
  return u" (" + (root == kPathSeparatorText ? root : StripTrailingBackslash(root)) + u")";
}

rg_TavelkinMuLuShuKuang1::rg_TavelkinMuLuShuKuang1() : m_receiver(CQzuReceiverRef::Make(this)) {
  SetBackColour(rg_Ombrine_MFCJieMian_base::kButtonFaceSentinel);
}

rg_TavelkinMuLuShuKuang1::~rg_TavelkinMuLuShuKuang1() {
  m_destroying = 1;
  m_receiver->Detach();
  FilesDroppedEvent.Disconnect();
  FolderPathEvent.Disconnect();
  MenuEvent.Disconnect();
  CheckChangedEvent.Disconnect();
}

bool rg_TavelkinMuLuShuKuang1::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_TavelkinMuLuShuKuang1::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinMuLuShuKuang1, source)
  CopyWinControl(src);
  CopyFolderTreeValues(src);
  return 1;
}

void rg_TavelkinMuLuShuKuang1::CopyFolderTreeValues(const rg_TavelkinMuLuShuKuang1& src) {
  shown = src.shown;
  m_treeBox.CopyFrom(src.m_treeBox);
  iconsLoaded = src.iconsLoaded;
  treeCaption = src.treeCaption;
  markChosen = src.markChosen;
  favouritePaths.CopyFrom(src.favouritePaths);
  systemFolderPaths = src.systemFolderPaths;
  drivePaths = src.drivePaths;
  menu.CopyFrom(src.menu);
}

void rg_TavelkinMuLuShuKuang1::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  s.WriteText(m_text);
  s.WriteInt32(shown);
  m_treeBox.SaveToStream(s);
  s.WriteInt32(iconsLoaded);
  s.WriteText(treeCaption);
  s.WriteInt32(markChosen);
  favouritePaths.SaveToStream(s);
  systemFolderPaths.SaveToStream(s);
  drivePaths.SaveToStream(s);
  menu.SaveToStream(s);
}

void rg_TavelkinMuLuShuKuang1::LoadFromStream(CQzuStream& s) {
  // A short read sets the stream's error; every later read then does nothing.
  if (!s.Ok()) return;
  s.ReadText(m_text);
  s.ReadInt32(shown);
  m_treeBox.LoadFromStream(s);
  s.ReadInt32(iconsLoaded);
  s.ReadText(treeCaption);
  s.ReadInt32(markChosen);
  favouritePaths.LoadFromStream(s);
  systemFolderPaths.LoadFromStream(s);
  drivePaths.LoadFromStream(s);
  menu.LoadFromStream(s);
}

int rg_TavelkinMuLuShuKuang1::DefaultWidth() const { return ScaleByDpiFactor(379); }
int rg_TavelkinMuLuShuKuang1::DefaultHeight() const { return ScaleByDpiFactor(514); }

CWString rg_TavelkinMuLuShuKuang1::FavouritesSection() const { return treeCaption + kFavouritesSectionSuffix; }

// ---- children ----

void rg_TavelkinMuLuShuKuang1::CreateChildren() {
  using H = FolderTreeHandlers;
  if (!GetWidget()->isWindow()) {
    AddStyle(qzu_win::kWsTabStop);
    GetWidget()->setFocusPolicy(Qt::StrongFocus);
  }
  OnSize.Connect(&H::Resized, m_receiver);
  AttachListener();
  OnShown.Connect(&H::Shown, m_receiver);
  AttachListener();
  OnHidden.Connect(&H::Hidden, m_receiver);
  AttachListener();
  OnMessage.Connect(&H::Message, m_receiver);
  AttachListener();
  rg_TavelkinShuXingKuang& box = m_treeBox;
  box.OnTreeFilesDropped.Connect(&H::Dropped, m_receiver);
  box.OnBeforeRename.Connect(&H::BeforeRename, m_receiver);
  box.OnRenameCommitted.Connect(&H::RenameCommitted, m_receiver);
  box.OnRowChosen.Connect(&H::Chosen, m_receiver);
  box.OnBeforeExpand.Connect(&H::BeforeExpand, m_receiver);
  box.OnRowRightClicked.Connect(&H::RightClicked, m_receiver);
  box.OnMessage.Connect(&H::Message, m_receiver);
  box.OnKeyPressed.Connect(&H::Key, m_receiver);
  box.OnCheckChanged.Connect(&H::CheckChanged, m_receiver);
  box.AttachListener();

  box.renameOnSlowClick = 1;
  box.treeLines = 1;
  box.checkBoxes = 1;
  box.hoverUnderline = 1;
  box.fontSize = kTreeFontSize;
  box.fontFace = kTreeFontFace;
  box.Create(this, ScaleByDpiFactor(8), 0, ScaleByDpiFactor(344), ScaleByDpiFactor(496), kFolderTreeBoxId);
  box.Model().SetShortHeaderMode(1);
}

int rg_TavelkinMuLuShuKuang1::ResizeFolderTree() {
  m_treeBox.Move(0, 0, GetClientWidth(), GetClientHeight());
  return 0;
}

int rg_TavelkinMuLuShuKuang1::LoadFolderTreeIcons() {
  shown = 1;
  if (iconsLoaded) return 0;
  iconsLoaded = 1;
  TreeBoxModel& model = m_treeBox.Model();
  model.SetRedrawEnabled(0);
  for (int i = 0; i < kFolderTreeIconCount; ++i)
    m_treeBox.AddTreeImage(LoadSvgIconBytes(kFirstFolderTreeIcon + i, kIconSizes[i].width, kIconSizes[i].height));
  model.SetRedrawEnabled(1);
  BuildFolderTreeRoots();
  return 0;
}

int rg_TavelkinMuLuShuKuang1::OnFolderTreeHidden() {
  shown = 0;
  return 0;
}

int rg_TavelkinMuLuShuKuang1::OnFolderTreeCommandMessage(int message, intptr_t wParam) {
  // The command id is the low word, as WM_COMMAND carries it.
  if (message == qzu_win::kWmCommand) RunFolderTreeMenuCommand(static_cast<int>(wParam & 0xFFFF));
  return 0;
}

// ---- roots ----

void rg_TavelkinMuLuShuKuang1::AppendPlaceRow(const CWString& text, int icon, int userValue, int expand, int level,
                                              const CWString& folder) {
  TreeBoxModel& model = m_treeBox.Model();
  // A refused row takes its placeholder with it: under the row before, the
  // "+" would open that row's folder as if it were this one's.
  if (model.AppendTreeRow(text, icon, userValue, expand, level) && HasSubFolder(folder))
    model.AppendTreeRow(kPlaceholderText, kIconNone, 0, 0, level + 1);
}

void rg_TavelkinMuLuShuKuang1::BuildFolderTreeRoots() {
  TreeBoxModel& model = m_treeBox.Model();
  model.SetRedrawEnabled(0);
  model.ClearRows();
  model.MarkVisibleRowListStale();
  model.SetSelectedRowValue(-1);
  m_treeBox.firstVisibleRow = 0;
  m_treeBox.VerticalBar().SetScrollBarPosition(0);

  AppendPlaceRow(kDesktopCaption, kIconDesktop, 0, 0, 0, SpecialFolderWithSeparator(SpecialFolder::Desktop));
  AppendPlaceRow(kDocumentsCaption, kIconDocuments, 0, 0, 0, SpecialFolderWithSeparator(SpecialFolder::Documents));

  model.AppendTreeRow(kComputerCaption, kIconComputer, 0, 2, 0);
  drivePaths.Empty();
  for (const FolderTreeDrive& drive : FolderTreeDrives().ListFolderTreeDrives()) {
    const CWString root = FolderWithSeparator(drive.root);
    if (root.IsEmpty()) continue;
    const int icon = root == kPathSeparatorText ? kIconSystemDrive : kIconDrive;
    AppendPlaceRow(drive.label + DriveRowSuffix(root), icon, drivePaths.GetCount(), 0, 1, root);
    drivePaths.Add(root);
  }

  model.AppendTreeRow(kSystemGroupCaption, kIconSystemGroup, 0, 0, 0);
  systemFolderPaths.Empty();
  for (const SystemFolderRow& place : kSystemFolders) {
    const CWString path = SpecialFolderWithSeparator(place.folder);
    AppendPlaceRow(place.caption, kIconPlace, systemFolderPaths.GetCount(), 0, 1, path);
    systemFolderPaths.Add(path);
  }

  model.AppendTreeRow(kFavouritesCaption, kIconFavouritesGroup, 0, 0, 0);
  AppendFavouriteRows();

  model.SetRedrawEnabled(1);
  m_treeBox.PaintTreeBox(-1);
}

int32_t rg_TavelkinMuLuShuKuang1::NewFavouriteId() {
  CMStringArray keys;
  rg_Tavelkin_MingLingJi::ListIniSection(keys, CWString(), CWString(), FavouritesSection(), CWString(), CWString());
  const std::set<CWString> taken(keys.begin(), keys.end());
  // Two favourites made in one second would share their keys: the second
  // takes the next free number.
  auto id = static_cast<int32_t>(std::time(nullptr));
  while (taken.count(CWString::FromInt(id) + kFavouriteNameKey) ||
         taken.count(CWString::FromInt(id) + kFavouritePathKey) || favouritePaths.entries.count(id))
    ++id;
  return id;
}

void rg_TavelkinMuLuShuKuang1::AppendFavouriteRows() {
  CMStringArray keys;
  const CWString section = FavouritesSection();
  rg_Tavelkin_MingLingJi::ListIniSection(keys, kFavouriteNameKey, CWString(), section, CWString(), CWString());
  auto& settings = GlobalSettings();
  settings.CurrentSection = section;
  favouritePaths.Clear();
  if (keys.IsEmpty()) {
    const CWString id = CWString::FromInt(NewFavouriteId());
    settings.WriteMultilineValue(id + kFavouriteNameKey, kDefaultFavouriteCaption);
    settings.WriteMultilineValue(id + kFavouritePathKey, FolderWithSeparator(GetProgramFolder()));
    keys.Add(id + kFavouriteNameKey);
  }
  for (const CWString& key : keys) {
    const int32_t id = key.Left(key.Find(kFavouriteNameKey)).ToInt32();
    const CWString caption = settings.ReadMultilineValue(key, CWString());
    // A path written without its trailing separator (by hand) still names
    // the folder: the sub-folders' paths must not run into its last name.
    const CWString path =
        FolderWithSeparator(settings.ReadMultilineValue(CWString::FromInt(id) + kFavouritePathKey, CWString()));
    favouritePaths.entries[id] = path;
    AppendPlaceRow(caption, kIconPlace, id, 0, 1, path);
  }
}

int rg_TavelkinMuLuShuKuang1::OnFolderExpandClicked(int row) {
  TreeBoxModel& model = m_treeBox.Model();
  TreeRowLocator locator;
  const int expand = model.GetRowExpandState(row, locator);
  // An invalid row reads 255: it counts as collapsed, as the tree box does.
  const bool collapsed = static_cast<int8_t>(expand) < 2;
  if (collapsed && RowHasPlaceholder(row)) {
    TreeRowLocator own;
    ExpandFolderRow(row, own);
  }
  return 0;
}

bool rg_TavelkinMuLuShuKuang1::RowHasPlaceholder(int row) {
  if (row < 0) return false;
  TreeBoxModel& model = m_treeBox.Model();
  TreeRowLocator locator;
  if (model.GetRowIcon(row + 1, locator) != kIconNone) return false;
  return model.GetRowText(row + 1, locator) == kPlaceholderText;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
