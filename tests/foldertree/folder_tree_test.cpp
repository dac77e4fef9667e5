// The folder tree over a temporary folder tree, with injected special
// folders, mounts, message boxes, clipboard and recycle bin: the roots and
// the folder of every row kind, lazy loading that keeps the selection,
// navigation by whole folder names, renames and their refusals, the greying
// of the menu and the shortcut keys, deleting into the recycle bin, new
// folders, the clipboard command, checking children, the rebuild, and the
// favourites saved in, restored from and removed from the settings.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTimer>

#include <ctime>

#include "folder_tree_test_util.h"
#include "framework/framework_test_util.h"

namespace {

using namespace qzu_test;
using namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kRenameFromKeyboard;

constexpr char16_t kSection[] = u"目录树_收藏夹";

std::vector<std::string> SectionKeys() {
  CMStringArray keys;
  rg_Tavelkin_MingLingJi::ListIniSection(keys, CWString(), CWString(), kSection, CWString(), CWString());
  std::vector<std::string> out;
  for (const CWString& k : keys) out.push_back(k.ToUtf8());
  return out;
}

CWString Setting(const CWString& key) {
  auto& settings = rg_Tavelkin_MingLingJi::GlobalSettings();
  settings.CurrentSection = kSection;
  return settings.ReadMultilineValue(key, u"<none>");
}

// The id in front of a key's "名称" or "路径" (two characters, six UTF-8 bytes).
CWString IdOfKey(const std::string& key) { return CWString::FromUtf8(key.substr(0, key.size() - 6)); }

void WriteSetting(const CWString& key, const CWString& value) {
  auto& settings = rg_Tavelkin_MingLingJi::GlobalSettings();
  settings.CurrentSection = kSection;
  settings.WriteMultilineValue(key, value);
}

// The rows below `row` as "level icon text" lines (the same dump as Dump()).
std::string DumpBelow(ShownFolderTree& t, int row) {
  std::string out;
  for (int r = row + 1; r < t.Model().GetRowCount() && t.Level(r) > t.Level(row); ++r)
    out += std::to_string(t.Level(r)) + " " + std::to_string(t.Icon(r)) + " " + t.Text(r).ToUtf8() + "\n";
  return out;
}

void Expand(ShownFolderTree& t, int row) { t.tree.TreeBox().RaiseBeforeExpandEvent(row); }

class FolderTree : public ::testing::Test {
 protected:
  ShownFolderTree t;
  int Row(const CWString& text, int icon = -2) { return t.Find(text, icon); }
  void SelectPath(const fs::path& path) { ASSERT_GE(t.tree.LocateFolderPathLoading(P(path)), 0) << path; }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(t.tree.TreeBox().Display().GetWidget(), key, modifiers);
  }
};

TEST_F(FolderTree, RootsRowKindsAndTheirFolders) {
  const std::string usb = P(t.system.usb).ToUtf8();
  std::string expected = "0 11 桌面\n1 -1 +\n0 7 我的文档\n1 -1 +\n0 6 我的电脑\n1 9  (/)\n2 -1 +\n1 10 U盘 (" + usb +
                         ")\n2 -1 +\n0 8 系统夹\n1 3 主文件夹\n2 -1 +\n1 3 下载\n";
  for (const char* name :
       {"图片", "音乐", "视频", "模板", "公共", "系统字体", "程序菜单组", "启动菜单组", "程序数据目录", "配置目录"})
    expected += std::string("1 3 ") + name + "\n";
  expected += "1 3 临时文件目录\n2 -1 +\n0 2 收藏夹\n1 3 本软件所在目录\n2 -1 +\n";
  EXPECT_EQ(t.Dump(), expected);
  EXPECT_EQ(t.tree.TreeBox().imageList.GetCount(), kFolderTreeIconCount);

  const fs::path& home = t.system.home;
  const struct {
    int row;
    CWString path;
  } cases[] = {
      {Row(u"桌面"), F(home / "Desktop")},
      {Row(u"我的文档"), F(home / "Documents")},
      {Row(u"我的电脑"), u"我的电脑"},
      {Row(u" (/)"), u"/"},
      {Row(u"U盘 (" + P(t.system.usb) + u")"), F(t.system.usb)},
      {Row(u"系统夹"), u"系统夹"},
      {Row(u"主文件夹"), F(home)},
      {Row(u"图片"), u""},  // a folder the system does not report keeps its row
      {Row(u"收藏夹"), u"收藏夹"},
      {Row(u"本软件所在目录"), F(t.system.dir.path() / "prog")},
      {Row(u"桌面") + 1, u""},  // the placeholder
      {t.Model().GetRowCount(), u""},
      {-1, u""},  // nothing selected
  };
  for (const auto& c : cases) EXPECT_EQ(t.PathOf(c.row), c.path) << c.row;

  // The first run writes the default favourite: the program's folder, kept
  // with its trailing separator, under the time it was made.
  const std::vector<std::string> keys = SectionKeys();
  ASSERT_EQ(keys.size(), 2u);
  const CWString id = IdOfKey(keys[0]);
  EXPECT_EQ(keys[0], id.ToUtf8() + "名称");
  EXPECT_EQ(keys[1], id.ToUtf8() + "路径");
  EXPECT_NEAR(static_cast<double>(id.ToInt()), static_cast<double>(std::time(nullptr)), 60);
  EXPECT_EQ(Setting(id + u"路径"), F(t.system.dir.path() / "prog"));
  TreeRowLocator l;
  EXPECT_EQ(t.Model().GetRowUserValue(Row(u"本软件所在目录"), l), id.ToInt32());

  // A later shown event builds nothing again.
  const std::string before = t.Dump();
  t.tree.SetVisible(false);
  t.tree.SetVisible(true);
  PumpFor(20);
  EXPECT_EQ(t.Dump(), before);
  EXPECT_EQ(t.tree.TreeBox().imageList.GetCount(), kFolderTreeIconCount);
}

TEST_F(FolderTree, OpeningLoadsOneLevelAndKeepsTheSelection) {
  Recorder rec;
  t.tree.FolderPathEvent.Connect(
      [](CQzuObject* r, CQzuObject*, intptr_t, int code) -> intptr_t {
        R(r)->Add("path", {code});
        return 0;
      },
      rec.ref);
  t.Select(Row(u"我的电脑"));
  ASSERT_EQ(rec.Count("path"), 1);
  const int desktop = Row(u"桌面");
  Expand(t, desktop);
  // Hidden folders never show; each sub-folder with sub-folders of its own
  // gets a placeholder.
  EXPECT_EQ(DumpBelow(t, desktop), "1 5 a\n2 -1 +\n1 5 b\n");
  TreeRowLocator l;
  EXPECT_EQ(t.Model().GetRowSelectedIcon(Row(u"a"), l), kIconFolderSelected);
  EXPECT_EQ(t.Text(t.Model().GetSelectedRow()), u"我的电脑");
  EXPECT_EQ(rec.Count("path"), 2);  // reported again on its new row

  // Opening a row that is loaded already changes nothing.
  const std::string loaded = t.Dump();
  Expand(t, desktop);
  EXPECT_EQ(t.Dump(), loaded);

  // A folder whose sub-folders went meanwhile loses its placeholder; the
  // selected last row stays selected although the rows above it shrank.
  fs::remove_all(t.system.home / "Desktop" / "a" / "a1");
  const int last = t.Model().GetRowCount() - 1;
  const CWString lastText = t.Text(last);
  t.Select(last);
  Expand(t, Row(u"a"));
  EXPECT_EQ(DumpBelow(t, desktop), "1 5 a\n1 5 b\n");
  EXPECT_EQ(t.Model().GetSelectedRow(), last - 1);
  EXPECT_EQ(t.Text(t.Model().GetSelectedRow()), lastText);

  // A folder that is gone is not loaded: its placeholder stays.
  const int documents = Row(u"我的文档");
  fs::remove_all(t.system.home / "Documents");
  Expand(t, documents);
  EXPECT_EQ(DumpBelow(t, documents), "1 -1 +\n");
}

// A selection inside the rows being replaced goes to the opened row, also
// when it is on the last of them: the placeholder of a folder being opened,
// or the last sub-folder of a folder being reloaded.
TEST_F(FolderTree, ASelectionInsideTheReloadedRowsGoesToTheOpenedRow) {
  const int desktop = Row(u"桌面");
  const struct {
    const char* name;
    int selected;  // relative to the desktop row
  } cases[] = {{"its placeholder", 1}, {"its first sub-folder", 1}, {"its last sub-folder", 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    t.Select(desktop + c.selected);
    TreeRowLocator l;
    t.tree.ExpandFolderRow(desktop, l);
    EXPECT_EQ(DumpBelow(t, desktop), "1 5 a\n2 -1 +\n1 5 b\n");
    EXPECT_EQ(t.Model().GetSelectedRow(), desktop);
  }
}

TEST_F(FolderTree, NavigationMatchesWholeFolderNames) {
  const fs::path& home = t.system.home;
  const fs::path& usb = t.system.usb;
  const struct {
    const char* name;
    CWString path;
    CWString selected;  // the selected folder afterwards; empty: not found
    int root;           // icon of the root row it lies under
    int drive;          // icon of its file system row, for paths under the computer
  } cases[] = {
      {"desktop itself", P(home / "Desktop"), F(home / "Desktop"), kIconDesktop, 0},
      {"below the desktop", P(home / "Desktop" / "a" / "a1"), F(home / "Desktop" / "a" / "a1"), kIconDesktop, 0},
      {"a name that starts like the desktop's", P(home / "Desktop old" / "x"), F(home / "Desktop old" / "x"),
       kIconComputer, kIconSystemDrive},
      {"documents", F(home / "Documents" / "报告"), F(home / "Documents" / "报告"), kIconDocuments, 0},
      {"another file system", P(usb / "docs" / "2024"), F(usb / "docs" / "2024"), kIconComputer, kIconDrive},
      {"a mount point itself", P(usb), F(usb), kIconComputer, kIconDrive},
      {"blanks around", u"  " + P(usb / "docs") + u"  ", F(usb / "docs"), kIconComputer, kIconDrive},
      {"a hidden folder", P(home / "Desktop" / ".hidden"), u"", 0, 0},
      {"a missing folder", P(home / "Desktop" / "nope"), u"", 0, 0},
      {"a relative path", u"home", u"", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    t.tree.BuildFolderTreeRoots();
    const int row = t.tree.LocateFolderPathLoading(c.path);
    if (c.selected.IsEmpty()) {
      EXPECT_EQ(row, -1);
      EXPECT_EQ(t.Model().GetSelectedRow(), -1);
      continue;
    }
    ASSERT_GE(row, 0);
    EXPECT_EQ(t.Model().GetSelectedRow(), row);
    EXPECT_EQ(t.tree.GetSelectedFolderPath(), c.selected);
    EXPECT_EQ(t.RootIcon(row), c.root);
    if (c.drive) {
      int at = row;
      TreeRowLocator l, parent;
      while (t.Level(at) > 1) {
        l.Empty();
        at = t.Model().FindParentRow(at, l, parent);
      }
      EXPECT_EQ(t.Icon(at), c.drive);
    }
  }

  // A folder that exists but is never loaded (hidden) ends in a rebuilt
  // tree (the folders loaded before are gone) with nothing selected; a
  // missing one leaves the tree alone.
  SelectPath(usb / "docs");
  t.tree.GoToFolderPath(P(home / "Desktop" / ".hidden"));
  EXPECT_EQ(t.Find(u"docs"), -1);
  EXPECT_NE(t.Find(u"a"), -1);  // loaded on the way by the second try
  EXPECT_EQ(t.Model().GetSelectedRow(), -1);
  SelectPath(usb / "docs");
  const std::string loaded = t.Dump();
  t.tree.GoToFolderPath(P(home / "nope"));
  EXPECT_EQ(t.Dump(), loaded);
  EXPECT_EQ(t.tree.GetSelectedFolderPath(), F(usb / "docs"));
}

TEST_F(FolderTree, RenamesMoveFoldersButNeverOntoAnotherOrElsewhere) {
  const fs::path desktop = t.system.home / "Desktop";
  Expand(t, Row(u"桌面"));
  const int a = Row(u"a");
  const struct {
    const char* name;
    CWString text;
    const char* message;  // the start of the message shown, or "" for none
  } refused[] = {
      {"same name", u"a", ""},
      {"empty", u"", ""},
      {"a sibling's name", u"b", "信息: 已经存在同名的文件夹或文件，不能重命名："},
      {"a path", u"x/y", "信息: 文件夹名称不能包含“/”"},
      {"the parent", u"..", "信息: 文件夹名称不能包含“/”"},
      {"the folder itself", u".", "信息: 文件夹名称不能包含“/”"},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.name);
    t.system.messages.clear();
    EXPECT_EQ(t.tree.ApplyFolderRename(a, u"a", c.text), 1);
    if (*c.message) {
      ASSERT_EQ(t.system.messages.size(), 1u);
      EXPECT_EQ(t.system.messages[0].rfind(c.message, 0), 0u) << t.system.messages[0];
    } else {
      EXPECT_TRUE(t.system.messages.empty());
    }
    EXPECT_TRUE(fs::exists(desktop / "a" / "a1"));
    EXPECT_TRUE(fs::is_empty(desktop / "b"));
  }

  // Through the tree box's rename field: the folder moves, and the rows below
  // it follow.
  ASSERT_EQ(t.tree.TreeBox().BeginRowRename(a, kRenameFromKeyboard), 1);
  EXPECT_EQ(t.tree.TreeBox().RenameField().GetText(), u"a");
  t.tree.TreeBox().RenameField().SetText(u"新名");
  t.tree.TreeBox().CommitRowRename(&t.tree.TreeBox().RenameField());
  EXPECT_TRUE(fs::exists(desktop / "新名" / "a1"));
  EXPECT_FALSE(fs::exists(desktop / "a"));
  EXPECT_EQ(t.Text(a), u"新名");
  Expand(t, a);
  EXPECT_EQ(t.PathOf(a + 1), F(desktop / "新名" / "a1"));
  // Letter case alone makes another name here.
  EXPECT_EQ(t.tree.ApplyFolderRename(Row(u"b"), u"b", u"B"), 0);
  EXPECT_TRUE(fs::exists(desktop / "B"));
  EXPECT_FALSE(fs::exists(desktop / "b"));

  // A favourite gets a new caption in the settings; its folder stays.
  const int favourite = Row(u"本软件所在目录");
  TreeRowLocator l;
  const CWString id = CWString::FromInt(t.Model().GetRowUserValue(favourite, l));
  EXPECT_EQ(t.tree.ApplyFolderRename(favourite, u"本软件所在目录", u"程序"), 0);
  EXPECT_EQ(Setting(id + u"名称"), u"程序");
  EXPECT_EQ(Setting(id + u"路径"), F(t.system.dir.path() / "prog"));
}

TEST_F(FolderTree, WhichRowsMayBeRenamed) {
  Expand(t, Row(u"桌面"));
  const struct {
    int row;
    int veto;
    bool message;
  } cases[] = {
      {Row(u"桌面"), 1, false},     {Row(u"我的文档"), 1, false},
      {Row(u"我的电脑"), 1, false}, {Row(u"系统夹"), 1, false},
      {Row(u"主文件夹"), 1, false}, {Row(u"收藏夹"), 1, false},
      {Row(u"+"), 1, false},        {Row(u" (/)"), 1, true},
      {Row(u"a"), 0, false},        {Row(u"本软件所在目录"), 0, false},
  };
  for (const auto& c : cases) {
    t.system.messages.clear();
    EXPECT_EQ(t.tree.PrepareFolderRename(c.row), c.veto) << t.Text(c.row).ToUtf8();
    // A file system's label is refused with a message saying why, once
    // UDisks2 (here: no service) has answered.
    EXPECT_TRUE(PumpUntil([&] { return !t.tree.IsDriveLabelCallRunning(); }, 10000));
    EXPECT_EQ(t.system.messages.size(), c.message ? 1u : 0u) << t.Text(c.row).ToUtf8();
  }
}

TEST_F(FolderTree, MenuGreyingFollowsTheRowKind) {
  Expand(t, Row(u"桌面"));
  const int always[] = {kFolderCmdRead, kFolderCmdCopyName, kFolderCmdGoToClipboard, kFolderCmdCheckChildren,
                        kFolderCmdRebuild};
  const int greyable[] = {kFolderCmdOpen,     kFolderCmdNewFolder, kFolderCmdDelete,      kFolderCmdRename,
                          kFolderCmdCopyPath, kFolderCmdRefresh,   kFolderCmdAddFavourite};
  const struct {
    const char16_t* row;
    const char* enabled;  // one digit per greyable item, in its order
  } cases[] = {
      {u"我的电脑", "0000000"},
      {u" (/)", "1100110"},  // no UDisks2: the label cannot change
      {u"主文件夹", "1100110"}, {u"本软件所在目录", "1111110"},
      {u"a", "1111111"},        {u"收藏夹", "0000000"}, {u"桌面", "1100110"},     {u"系统夹", "0000000"},
  };
  for (const auto& c : cases) {
    t.Select(Row(c.row));
    t.tree.UpdateFolderMenuStates();
    EXPECT_TRUE(PumpUntil([&] { return !t.tree.IsDriveLabelCallRunning(); }, 10000));
    std::string got;
    for (int id : greyable) got += t.tree.menu.IsCommandEnabled(id) ? "1" : "0";
    EXPECT_EQ(got, c.enabled) << CWString(c.row).ToUtf8();
    for (int id : always) EXPECT_TRUE(t.tree.menu.IsCommandEnabled(id)) << id;
  }
}

// A right click on a row pops the menu up; the chosen item's command comes
// back as WM_COMMAND and runs, and the menu event follows the pop-up.
TEST_F(FolderTree, TheChosenMenuItemRuns) {
  Recorder rec;
  t.tree.MenuEvent.Connect(
      [](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
        R(r)->Add("menu");
        return 0;
      },
      rec.ref);
  t.Select(Row(u" (/)"));
  QTimer::singleShot(50, [&] {
    QMenu* popup = t.tree.menu.GetPopup(0);
    ASSERT_NE(popup, nullptr);
    for (QAction* a : popup->actions())
      if (a->data().toInt() == kFolderCmdCopyPath) popup->setActiveAction(a);
    QTest::keyClick(popup, Qt::Key_Return);
  });
  t.tree.TreeBox().OnRowRightClicked.Raise(&t.tree.TreeBox());
  EXPECT_EQ(rec.Count("menu"), 1);
  EXPECT_TRUE(PumpUntil([&] { return t.system.clipboard == u"/"; }));
  EXPECT_FALSE(t.tree.menu.IsCommandEnabled(kFolderCmdDelete));
}

TEST_F(FolderTree, ShortcutKeysRunOnlyWhatIsNotGreyed) {
  Expand(t, Row(u"桌面"));
  t.Select(Row(u" (/)"));
  Key(Qt::Key_F7);  // greyed on a file system
  EXPECT_EQ(SectionKeys().size(), 2u);
  Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(t.system.clipboard, u" (/)");
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(t.system.clipboard, u"/");
  Key(Qt::Key_C);
  EXPECT_EQ(t.system.clipboard, u"/");

  // F7 twice in one second: two favourites with keys of their own.
  t.Select(Row(u"a"));
  Key(Qt::Key_F7);
  Key(Qt::Key_F7);
  const std::vector<std::string> keys = SectionKeys();
  ASSERT_EQ(keys.size(), 6u);
  EXPECT_NE(keys[2], keys[4]);
  const int group = Row(u"收藏夹");
  EXPECT_EQ(DumpBelow(t, group), "1 3 本软件所在目录\n2 -1 +\n1 3 a\n2 -1 +\n1 3 a\n2 -1 +\n");
  const CWString id = IdOfKey(keys[4]);
  EXPECT_EQ(Setting(id + u"名称"), u"a");
  EXPECT_EQ(Setting(id + u"路径"), F(t.system.home / "Desktop" / "a"));
  EXPECT_EQ(t.Text(t.Model().GetSelectedRow()), u"a");  // the selection stays
  EXPECT_EQ(t.RootIcon(t.Model().GetSelectedRow()), kIconDesktop);
}

// 打开 goes through the program's one opener: when nothing can open the
// folder, the user is told and the path is left on the clipboard.
TEST_F(FolderTree, OpenTellsTheUserWhenNothingCanOpenTheFolder) {
  SelectPath(t.system.usb / "docs");
  Key(Qt::Key_F3);
  const std::string path = F(t.system.usb / "docs").ToUtf8();
  EXPECT_EQ(t.system.opened, std::vector<std::string>{path});
  EXPECT_EQ(t.system.messages,
            (std::vector<std::string>{"信息: 打开失败：" + path + "\r\n\r\n已将该地址复制，请手动到我的电脑粘贴打开！"}));
  EXPECT_EQ(t.system.clipboard.ToUtf8(), path);
}

TEST(FolderTreeFavourites, AreRestoredAndRemoved) {
  ShownFolderTree s([](FakeSystem& system) {
    WriteSetting(u"100名称", u"甲");
    WriteSetting(u"100路径", P(system.usb / "docs"));  // written by hand, without its separator
    WriteSetting(u"abc名称", u"乙");
    WriteSetting(u"0路径", F(system.home / "Documents"));
  });
  const int group = s.Find(u"收藏夹");
  EXPECT_EQ(DumpBelow(s, group), "1 3 甲\n2 -1 +\n1 3 乙\n2 -1 +\n");
  EXPECT_EQ(SectionKeys().size(), 4u);  // no default favourite
  const int first = s.Find(u"甲");
  EXPECT_EQ(s.PathOf(first), F(s.system.usb / "docs"));
  EXPECT_EQ(s.PathOf(s.Find(u"乙")), F(s.system.home / "Documents"));
  Expand(s, first);
  EXPECT_EQ(s.PathOf(first + 1), F(s.system.usb / "docs" / "2024"));

  // The rebuild reads them back in the same order.
  s.tree.BuildFolderTreeRoots();
  EXPECT_EQ(DumpBelow(s, group), "1 3 甲\n2 -1 +\n1 3 乙\n2 -1 +\n");

  // Delete: Cancel keeps it; OK removes the row and both keys.
  s.Select(s.Find(u"甲"));
  s.system.answers = {kIdCancel};
  s.tree.RunFolderTreeMenuCommand(kFolderCmdDelete);
  EXPECT_EQ(SectionKeys().size(), 4u);
  ASSERT_EQ(s.system.messages.size(), 1u);
  EXPECT_EQ(s.system.messages[0],
            "信息: 确定要删除收藏项吗？甲\r\n(如果需要连同收藏指向的文件夹一起删除，请按下Ctrl键再点击确定按钮)");
  s.tree.RunFolderTreeMenuCommand(kFolderCmdDelete);
  EXPECT_EQ(SectionKeys(), (std::vector<std::string>{"abc名称", "0路径"}));
  EXPECT_EQ(DumpBelow(s, group), "1 3 乙\n2 -1 +\n");
  EXPECT_TRUE(fs::exists(s.system.usb / "docs"));

  // With Ctrl held as OK is clicked, the folder goes to the recycle bin too.
  ASSERT_GE(s.tree.LocateFolderPathLoading(P(s.system.usb / "docs")), 0);
  s.tree.RunFolderTreeMenuCommand(kFolderCmdAddFavourite);
  s.Select(s.Find(u"docs", kIconPlace));
  s.system.ctrlDown = true;
  s.tree.RunFolderTreeMenuCommand(kFolderCmdDelete);
  EXPECT_TRUE(fs::exists(s.system.trash / "docs" / "2024"));
  EXPECT_FALSE(fs::exists(s.system.usb / "docs"));
  EXPECT_EQ(SectionKeys(), (std::vector<std::string>{"abc名称", "0路径"}));
}

// Names the tree box refuses (their bytes would form its row marker): the
// row is left out with its placeholder, and no rename may store one.
TEST(FolderTreeRefusedNames, LeaveNoPlaceholderBehindAndAreNeverStored) {
  const CWString refused = u"\u0201\u0403";  // UTF-16LE 01 02 03 04
  ShownFolderTree s([&](FakeSystem& system) {
    system.drives = {{u"/", u""}, {P(system.usb) + u"/", refused}};
    WriteSetting(u"100名称", u"甲" + refused);
    WriteSetting(u"100路径", F(system.usb / "docs"));
    WriteSetting(u"200名称", u"乙");
    WriteSetting(u"200路径", F(system.home / "Documents"));
  });
  const int computer = s.Find(u"我的电脑"), group = s.Find(u"收藏夹");
  EXPECT_EQ(DumpBelow(s, computer), "1 9  (/)\n2 -1 +\n");
  EXPECT_EQ(DumpBelow(s, group), "1 3 乙\n2 -1 +\n");

  // Renamed to such a name through the rename field: refused with a message,
  // nothing written or moved, and the rebuilt tree still shows both.
  const int favourite = s.Find(u"乙");
  ASSERT_EQ(s.tree.TreeBox().BeginRowRename(favourite, kRenameFromKeyboard), 1);
  s.tree.TreeBox().RenameField().SetText(u"丙" + refused);
  s.tree.TreeBox().CommitRowRename(&s.tree.TreeBox().RenameField());
  EXPECT_EQ(s.Text(favourite), u"乙");
  EXPECT_EQ(Setting(u"200名称"), u"乙");
  Expand(s, s.Find(u"桌面"));
  const int a = s.Find(u"a");
  EXPECT_EQ(s.tree.ApplyFolderRename(a, u"a", u"a" + refused), 1);
  EXPECT_TRUE(fs::exists(s.system.home / "Desktop" / "a"));
  ASSERT_EQ(s.system.messages.size(), 2u);
  EXPECT_EQ(s.system.messages[0], "信息: 目录树不能显示这个名称：丙" + refused.ToUtf8());
  s.tree.BuildFolderTreeRoots();
  EXPECT_EQ(DumpBelow(s, s.Find(u"收藏夹")), "1 3 乙\n2 -1 +\n");
}

TEST_F(FolderTree, DeletingAFolderMovesItToTheRecycleBin) {
  Expand(t, Row(u"桌面"));
  const fs::path b = t.system.home / "Desktop" / "b";
  t.Select(Row(u"b"));
  t.system.answers = {kIdCancel};
  Key(Qt::Key_Delete);
  EXPECT_TRUE(fs::exists(b));
  ASSERT_EQ(t.system.messages.size(), 1u);
  EXPECT_EQ(t.system.messages[0], "信息: 确定要删除到回收站吗？" + F(b).ToUtf8());
  Key(Qt::Key_Delete);
  EXPECT_FALSE(fs::exists(b));
  EXPECT_TRUE(fs::exists(t.system.trash / "b"));
  EXPECT_EQ(Row(u"b"), -1);
  // Nothing but folders and favourites is deleted.
  t.Select(Row(u"主文件夹"));
  t.system.messages.clear();
  t.tree.RunFolderTreeMenuCommand(kFolderCmdDelete);
  EXPECT_TRUE(t.system.messages.empty());
  EXPECT_NE(Row(u"主文件夹"), -1);
}

TEST_F(FolderTree, NewFoldersAreMadeSelectedAndRenamed) {
  const fs::path desktop = t.system.home / "Desktop";
  Expand(t, Row(u"桌面"));
  // A loaded folder (b has no sub-folders) gets the row directly.
  t.Select(Row(u"b"));
  t.tree.CreateNewFolder();
  const int made = t.Model().GetSelectedRow();
  const CWString name = t.Text(made);
  ASSERT_TRUE(name.StartsWith(u"新文件夹")) << name.ToUtf8();
  EXPECT_EQ(name.Length(), 4 + static_cast<int>(std::to_string(std::time(nullptr)).size()) + 3);
  EXPECT_TRUE(fs::is_directory(desktop / "b" / name.ToSystemPath()));
  EXPECT_EQ(t.PathOf(made), F(desktop / "b" / name.ToSystemPath()));
  ASSERT_TRUE(t.tree.TreeBox().RenameField().IsVisible());
  t.tree.TreeBox().RenameField().SetText(u"报表");
  t.tree.TreeBox().CommitRowRename(&t.tree.TreeBox().RenameField());
  EXPECT_TRUE(fs::is_directory(desktop / "b" / "报表"));

  // A folder not loaded yet is loaded first, and the new one selected in it.
  t.Select(Row(u"a"));
  t.tree.CreateNewFolder();
  const int inA = t.Model().GetSelectedRow();
  EXPECT_TRUE(t.Text(inA).StartsWith(u"新文件夹"));
  EXPECT_EQ(t.PathOf(inA), F(desktop / "a" / t.Text(inA).ToSystemPath()));
  EXPECT_NE(t.Icon(Row(u"a") + 1), kIconNone);  // loaded: no placeholder left
  t.tree.TreeBox().CommitRowRename(&t.tree.TreeBox().RenameField());

  // Where no folder can be made the user is told.
  t.system.drives.push_back({u"/proc/", u"进程"});
  t.tree.BuildFolderTreeRoots();
  t.Select(t.Find(u"进程 (/proc)"));
  t.system.messages.clear();
  t.tree.CreateNewFolder();
  ASSERT_EQ(t.system.messages.size(), 1u);
  EXPECT_EQ(t.system.messages[0].rfind("信息: 创建文件夹失败：/proc/新文件夹", 0), 0u) << t.system.messages[0];
}

TEST_F(FolderTree, ClipboardPathChildrenChecksAndRebuild) {
  const fs::path docs = t.system.usb / "docs";
  t.system.clipboard = P(docs / "readme.txt");
  t.tree.RunFolderTreeMenuCommand(kFolderCmdGoToClipboard);
  EXPECT_EQ(t.tree.GetSelectedFolderPath(), F(docs));
  t.system.clipboard = u"不存在的路径";
  t.tree.RunFolderTreeMenuCommand(kFolderCmdGoToClipboard);
  EXPECT_EQ(t.system.messages, (std::vector<std::string>{"信息: 剪贴板中的路径不存在：不存在的路径"}));
  EXPECT_EQ(t.tree.GetSelectedFolderPath(), F(docs));

  // The rebuild keeps the selected folder selected.
  t.tree.RunFolderTreeMenuCommand(kFolderCmdRebuild);
  EXPECT_EQ(t.tree.GetSelectedFolderPath(), F(docs));

  // Checking the children: a folder not loaded checks its placeholder; a
  // loaded one its direct sub-folders; Ctrl clears them.
  const int desktop = Row(u"桌面");
  t.Select(desktop);
  t.tree.RunFolderTreeMenuCommand(kFolderCmdCheckChildren);
  EXPECT_EQ(t.Check(desktop + 1), 1);
  Expand(t, desktop);
  t.tree.RunFolderTreeMenuCommand(kFolderCmdCheckChildren);
  EXPECT_EQ(t.Check(Row(u"a")), 1);
  EXPECT_EQ(t.Check(Row(u"a") + 1), 0);  // a's placeholder is no direct child
  EXPECT_EQ(t.Check(Row(u"b")), 1);
  EXPECT_EQ(t.Check(desktop), 1);  // it was chosen: the check mark follows the choice
  t.system.ctrlDown = true;
  t.tree.RunFolderTreeMenuCommand(kFolderCmdCheckChildren);
  EXPECT_EQ(t.Check(Row(u"a")), 0);
  EXPECT_EQ(t.Check(Row(u"b")), 0);
}

TEST_F(FolderTree, TheCheckMarkFollowsTheChosenRow) {
  Recorder rec;
  t.tree.FolderPathEvent.Connect(
      [](CQzuObject* r, CQzuObject*, intptr_t, int code) -> intptr_t {
        R(r)->Add("path", {code});
        return 0;
      },
      rec.ref);
  const int desktop = Row(u"桌面"), computer = Row(u"我的电脑");
  t.tree.OnFolderRowChosen(desktop, 1);
  EXPECT_EQ(t.Check(desktop), 1);
  t.tree.OnFolderRowChosen(computer, 2);
  EXPECT_EQ(t.Check(desktop), 0);
  EXPECT_EQ(t.Check(computer), 1);
  t.tree.OnFolderRowChosen(desktop, 3);  // a right press: nothing
  EXPECT_EQ(t.Check(computer), 1);
  EXPECT_EQ(rec.log.size(), 2u);
  EXPECT_EQ(rec.args[1], (std::vector<intptr_t>{2}));
  // Two marked rows (after checking children) are left as they are.
  t.tree.OnFolderRowChosen(desktop, 1);
  TreeRowLocator l;
  t.Model().SetRowCheckState(computer, 1, 0, l, 1);
  t.tree.OnFolderRowChosen(Row(u"系统夹"), 1);
  EXPECT_EQ(t.Check(Row(u"系统夹")), 0);
  EXPECT_EQ(t.Check(desktop), 1);
}

}  // namespace
