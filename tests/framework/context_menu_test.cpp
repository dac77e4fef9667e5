// Menus built from their definition text, and popping one up.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>
#include <QTimer>

#include "framework/context_menu.h"
#include "framework/win_form.h"
#include "framework_test_util.h"

using namespace rg_Ombrine_MFCJieMian_base;

namespace {

CWString Item(const char16_t* level, const char16_t* caption, const char16_t* id, const char16_t* key,
              const char16_t* flags) {
  // flags: five characters for Ctrl, Shift, separator, checked, greyed
  CWString f(flags);
  CWString s = CWString(u"\n") + level + u"\n" + caption + u"\n" + caption + u"\n" + id + u"\n\n" + key;
  for (int i = 0; i < 5; ++i) s += CWString(u"\n") + f.Mid(i, 1);
  return s;
}

}  // namespace

TEST(ContextMenu, TheSmallestTextBuildsOnePopupWithOneCommand) {
  rg_CaiChanLei menu;
  menu.SetMenuDefinitionText(
      u"1\n0\n顶级菜单\n顶级菜单\n9000\n\n\n0\n0\n0\n0\n0\n1\n撤销(&U)\n撤销\n9001\n\n\n0\n0\n0\n0\n0");
  ASSERT_TRUE(menu.Build());
  EXPECT_EQ(menu.GetPopupCount(), 1);
  ASSERT_NE(menu.GetPopup(0), nullptr);
  EXPECT_EQ(menu.GetPopup(0)->actions().size(), 1);
  EXPECT_EQ(menu.GetCommandText(9001), u"撤销(&U)");
  EXPECT_TRUE(menu.IsCommandEnabled(9001));
}

TEST(ContextMenu, ShortcutsShowAfterATabAndGoIntoTheAccelerators) {
  rg_CaiChanLei menu;
  menu.SetMenuDefinitionText(CWString(u"1") + Item(u"0", u"编辑", u"100", u"", u"00000") +
                             Item(u"1", u"复制路径", u"60001", u"c", u"11000") +
                             Item(u"1", u"", u"0", u"", u"00100") + Item(u"1", u"重命名", u"60002", u"F2", u"00001") +
                             Item(u"1", u"子菜单", u"60003", u"", u"00000") +
                             Item(u"2", u"深处", u"60004", u"", u"00010") + u"\n1\n2");  // leftover fields ignored
  ASSERT_TRUE(menu.Build());
  EXPECT_EQ(menu.GetCommandText(60001), u"复制路径\tCtrl+Shift+C");
  EXPECT_EQ(menu.GetCommandText(60002), u"重命名\tF2");
  EXPECT_FALSE(menu.IsCommandEnabled(60002));  // greyed
  EXPECT_EQ(menu.FindAccelerator('C', qzu_win::kModCtrl | qzu_win::kModShift), 60001);
  EXPECT_EQ(menu.FindAccelerator('C', qzu_win::kModCtrl), 0);
  EXPECT_EQ(menu.FindAccelerator(0x71, 0), 60002);
  // Separator, then a popup holding the deeper item.
  QMenu* popup = menu.GetPopup(0);
  ASSERT_EQ(popup->actions().size(), 4);
  EXPECT_TRUE(popup->actions()[1]->isSeparator());
  ASSERT_NE(popup->actions()[3]->menu(), nullptr);
  EXPECT_TRUE(popup->actions()[3]->menu()->actions()[0]->isChecked());
  menu.EnableCommand(60002, true);
  EXPECT_TRUE(menu.IsCommandEnabled(60002));
}

TEST(ContextMenu, AnInvalidItemDiscardsTheWholeMenu) {
  const CWString good = Item(u"0", u"菜单", u"1", u"", u"00000");
  const CWString cases[] = {
      CWString(u"2") + good,                                           // format number
      CWString(u"1") + good + Item(u"1", u"项", u"5", u"", u"00002"),     // flag "2"
      CWString(u"1") + good + Item(u"1", u"项", u"5", u"", u"true0"),     // flag not 0/1
      CWString(u"1") + good + Item(u"1", u"", u"5", u"", u"00000"),       // empty caption
      CWString(u"1") + good + Item(u"1", u"项", u"70000", u"", u"00000"), // id out of range
      CWString(u"1") + good + Item(u"1", u"项", u"5", u"Hyper", u"00000"), // unknown key
      CWString(u"1") + good + Item(u"-1", u"项", u"5", u"", u"00000"),    // negative level
  };
  for (const CWString& text : cases) {
    rg_CaiChanLei menu;
    menu.SetMenuDefinitionText(text);
    EXPECT_FALSE(menu.Build()) << text.ToUtf8();
    EXPECT_EQ(menu.GetPopup(0), nullptr);
    CQzuWinForm owner;
    EXPECT_EQ(menu.TrackPopup(0, 0, &owner), 0);
  }
}

TEST(ContextMenu, CopiesShareTheBuiltMenu) {
  rg_CaiChanLei a, b;
  a.SetMenuDefinitionText(CWString(u"1") + Item(u"0", u"m", u"1", u"", u"00000") + Item(u"1", u"x", u"7", u"", u"00000"));
  ASSERT_TRUE(a.Build());
  ASSERT_EQ(b.CopyFrom(a), 1);
  EXPECT_EQ(b.GetPopup(0), a.GetPopup(0));
  EXPECT_TRUE(a.IsEqual(b));
}

TEST(ContextMenu, PopupReturnsTheChosenCommandAndPostsItToTheOwner) {
  qzu_test::Recorder rec;
  CQzuWinForm owner;
  owner.OnMessage.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int m, intptr_t w, intptr_t) -> intptr_t {
    qzu_test::R(r)->Add("message", {m, w});
    return 0;
  }, rec.ref);
  ASSERT_EQ(owner.CreateForm(nullptr, 0, 0, 200, 100), 1);
  rg_CaiChanLei menu;
  menu.SetMenuDefinitionText(CWString(u"1") + Item(u"0", u"m", u"1", u"", u"00000") +
                             Item(u"1", u"第一", u"8001", u"", u"00001") + Item(u"1", u"第二", u"8002", u"", u"00000"));
  QTimer::singleShot(50, [&] {
    QMenu* popup = menu.GetPopup(0);
    QTest::keyClick(popup, Qt::Key_Down);  // the greyed first item is skipped
    QTest::keyClick(popup, Qt::Key_Return);
  });
  EXPECT_EQ(menu.TrackPopup(10, 10, &owner), 8002);
  qzu_test::PumpFor(20);
  ASSERT_EQ(rec.Count("message"), 1);
  EXPECT_EQ(rec.args[0], (std::vector<intptr_t>{0x111, 8002}));
  owner.DestroyWindow();
}
