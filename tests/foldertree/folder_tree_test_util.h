#pragma once
// Shared by the folder tree and folder-choice dialog tests: a temporary
// folder tree standing in for the user's folders and two mounted file
// systems, platform hooks that answer from it (special folders, message
// boxes with chosen answers, the clipboard, an opener that fails, a
// temporary recycle bin, the Ctrl key), the settings loaded from an empty file, and a shown folder tree.
#include <gtest/gtest.h>

#include <QTest>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "foldertree/drive_label_udisks.h"
#include "foldertree/folder_tree.h"
#include "foldertree/folder_tree_drives.h"
#include "framework/win_form.h"
#include "platform/hooks.h"
#include "qt_pump.h"
#include "services/global_settings.h"
#include "test_support.h"

namespace qzu_test {

namespace fs = std::filesystem;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeBoxModel;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeRowLocator;
using rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::FolderTreeDrive;
using rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::rg_TavelkinMuLuShuKuang1;

inline CWString P(const fs::path& p) { return CWString::FromSystemPath(p.string()); }
// A folder as the tree names it: with its trailing separator.
inline CWString F(const fs::path& p) { return P(p) + u"/"; }

// The system as the tests see it. Everything lives under one temporary
// folder: home/ with the user's folders, mnt/usb (a second file system),
// prog/ (the program's folder) and trash/ (the recycle bin).
struct FakeSystem : IPlatformHooks, rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::IFolderTreeDrives {
  TempDir dir;
  fs::path home = dir.path() / "home";
  fs::path usb = dir.path() / "mnt" / "usb";
  fs::path trash = dir.path() / "trash";
  std::vector<std::string> messages;  // caption and text of every message box
  std::vector<int> answers;           // the buttons chosen, in turn; OK when none is left
  CWString clipboard;
  std::vector<std::string> opened;  // addresses given to the desktop's opener
  bool ctrlDown = false;
  std::vector<FolderTreeDrive> drives;
  CWString savedProgramFolder = GetProgramFolder();

  FakeSystem() {
    for (const char* d :
         {"Desktop/a/a1", "Desktop/b", "Desktop/.hidden/h1", "Desktop old/x", "Documents/报告", "Downloads"})
      fs::create_directories(home / d);
    fs::create_directories(dir.path() / "prog" / "sub");
    fs::create_directories(trash);
    fs::create_directories(usb / "docs" / "2024");
    WriteFileText(usb / "docs" / "readme.txt", "x");
    drives = {{u"/", u""}, {P(usb) + u"/", u"U盘"}};
    SetProgramFolder(P(dir.path() / "prog"));
    InstallPlatformHooks(this);
    rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::InstallFolderTreeDrives(this);
    rg_Tavelkin_MingLingJi::GlobalSettings().LoadIni(P(dir.path() / "settings.ini"), 0);
    // No UDisks2 answers here (whatever the machine's system bus has): drive
    // labels cannot change unless a test starts a bus of its own.
    rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::SetDriveLabelBusAddress(u"unix:path=" + P(dir.path() / "no-bus"));
  }
  ~FakeSystem() override {
    rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::SetDriveLabelBusAddress(CWString());
    rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::InstallFolderTreeDrives(nullptr);
    InstallPlatformHooks(nullptr);
    SetProgramFolder(savedProgramFolder);
  }

  CWString SpecialFolderPath(SpecialFolder folder) override {
    switch (folder) {
      case SpecialFolder::Desktop:
        return P(home / "Desktop");
      case SpecialFolder::Documents:
        return P(home / "Documents");
      case SpecialFolder::Home:
        return P(home);
      case SpecialFolder::Downloads:
        return P(home / "Downloads");
      case SpecialFolder::Temporary:
        return P(dir.path());
      // Folders this system does not have: their rows stay, without a path.
      default:
        return CWString();
    }
  }
  int MessageBox(const CWString& text, const CWString& caption, int) override {
    messages.push_back(caption.ToUtf8() + " " + text.ToUtf8());
    if (answers.empty()) return kIdOk;
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  bool SetClipboardText(const CWString& text) override {
    clipboard = text;
    return true;
  }
  CWString GetClipboardText() override { return clipboard; }
  // The desktop's opener: records the address and fails (no opener here).
  bool ShellOpen(const CWString& address, const CWString&) override {
    opened.push_back(address.ToUtf8());
    return false;
  }
  bool MoveToRecycleBin(const CWString& path) override {
    std::error_code ec;
    fs::rename(path.ToSystemPath(), trash / fs::path(path.ToSystemPath()).filename(), ec);
    return !ec;
  }
  int16_t AsyncKeyState(int vk) override { return vk == 0x11 && ctrlDown ? static_cast<int16_t>(0x8000) : 0; }
  std::vector<FolderTreeDrive> ListFolderTreeDrives() override { return drives; }
};

// A shown form holding a folder tree over the fake system.
struct ShownFolderTree {
  FakeSystem system;
  CQzuWinForm form;
  rg_TavelkinMuLuShuKuang1 tree;

  // `prepare` runs on the fake system (settings loaded, hooks installed)
  // before the tree is made and shown.
  explicit ShownFolderTree(const std::function<void(FakeSystem&)>& prepare = {}) {
    if (prepare) prepare(system);
    EXPECT_EQ(form.CreateForm(nullptr, 20, 20, 420, 560), 1);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
    EXPECT_EQ(tree.Create(&form, 0, 0, 400, 540, 1), 1);
    EXPECT_TRUE(PumpUntil([&] { return tree.iconsLoaded != 0 && tree.TreeBox().Model().GetRowCount() > 0; }));
  }
  TreeBoxModel& Model() { return tree.TreeBox().Model(); }
  CWString Text(int row) {
    TreeRowLocator l;
    return Model().GetRowText(row, l);
  }
  int Icon(int row) {
    TreeRowLocator l;
    return Model().GetRowIcon(row, l);
  }
  int Level(int row) {
    TreeRowLocator l;
    return Model().GetRowLevel(row, l);
  }
  int Check(int row) {
    TreeRowLocator l;
    return Model().GetRowCheckState(row, l);
  }
  CWString PathOf(int row) {
    TreeRowLocator l;
    return tree.GetRowFolderPath(row, l);
  }
  // The first row with this text (and icon, unless -2), or -1.
  int Find(const CWString& text, int icon = -2) {
    for (int r = 0; r < Model().GetRowCount(); ++r)
      if (Text(r) == text && (icon == -2 || Icon(r) == icon)) return r;
    return -1;
  }
  // Every row as "level icon text", one per line.
  std::string Dump() {
    std::string out;
    for (int r = 0; r < Model().GetRowCount(); ++r)
      out += std::to_string(Level(r)) + " " + std::to_string(Icon(r)) + " " + Text(r).ToUtf8() + "\n";
    return out;
  }
  // The icon of the root row a row lies under.
  int RootIcon(int row) {
    TreeRowLocator l, parent;
    while (row >= 0 && Level(row) > 0) {
      l.Empty();
      row = Model().FindParentRow(row, l, parent);
    }
    return row < 0 ? -2 : Icon(row);
  }
  void Select(int row) { Model().SelectTreeRow(row); }
};

}  // namespace qzu_test
