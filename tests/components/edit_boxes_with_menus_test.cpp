// The two edit boxes with right-click menus: the menus they build, which items
// a right press greys, every command on the real editors, the popup at the
// pointer with no second menu beside it, the code edit box's styling and its
// line-number margin at several DPI factors, and copies.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "common/dpi.h"
#include "components/code_edit_with_menu.h"
#include "components/rich_edit_with_menu.h"
#include "editor_test_util.h"
#include "framework/win_form.h"
#include "qt_pump.h"

using namespace rg_TavelkinMingLingJi_ChangYongJiChengLei;
using qzu_test::PumpUntil;

namespace {

constexpr unsigned kSciSetSel = 2160;
constexpr unsigned kSciSetReadOnly = 2171;
constexpr unsigned kSciGetSelText = 2161;
constexpr unsigned kSciGetMarginTypeN = 2241;
constexpr unsigned kSciGetMarginWidthN = 2243;
constexpr unsigned kSciStyleGetFore = 2481;
constexpr unsigned kSciStyleGetBack = 2482;
constexpr unsigned kSciStyleGetSize = 2485;
constexpr unsigned kSciStyleGetFont = 2486;
constexpr unsigned kSciGetScrollWidthTracking = 2517;

void SetClipboard(const QString& text) { QApplication::clipboard()->setText(text); }
CWString Clipboard() {
  const QString t = QApplication::clipboard()->text();
  return CWString(reinterpret_cast<const char16_t*>(t.utf16()), static_cast<size_t>(t.size()));
}

// Enabled flags of the six commands after the menu's first id.
std::string EnabledFlags(rg_Ombrine_MFCJieMian_base::rg_CaiChanLei& menu, int firstId) {
  std::string flags;
  for (int i = kEditMenuUndo; i <= kEditMenuSelectAll; ++i) flags += menu.IsCommandEnabled(firstId + i) ? '1' : '0';
  return flags;
}

std::string SelectedText(rg_TavelkinHuoHuaBianJiKuang1& box) {
  std::string bytes(static_cast<size_t>(box.Send(kSciGetSelText, 0, 0)) + 1, '\0');
  box.Send(kSciGetSelText, 0, reinterpret_cast<intptr_t>(bytes.data()));
  return bytes.c_str();
}

class EditBoxesOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = InstallPlatformHooks(&hooks);
    ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 600, 300), 1);
    ASSERT_EQ(code.Create(&form, 0, 0, 300, 300), 1);
    ASSERT_EQ(rich.Create(&form, 300, 0, 300, 300), 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
    form.GetWidget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.GetWidget()));
  }
  void TearDown() override {
    form.DestroyWindow();
    InstallPlatformHooks(previous);
    SetDpiFactor(1.0);
  }
  void Command(CQzuWinControl& box, int id) {
    ASSERT_TRUE(box.PostMessage(0x111, id));
    qzu_test::PumpFor(5);
  }

  qzu_test::EditorHooks hooks;
  IPlatformHooks* previous = nullptr;
  CQzuWinForm form;
  rg_TavelkinHuoHuaBianJiKuang1 code;
  rg_TavelkinChaoJiBianJiKuang1 rich;
};

}  // namespace

TEST(EditBoxMenus, BothMenusBuildTheirCaptionsAroundTwoSeparators) {
  rg_HuoHuaBianJiKuangYouJianCaiChanLei codeMenu;
  rg_ChaoJiBianJiKuangYouJianCaiChanLei richMenu;
  using Menu = std::pair<rg_Ombrine_MFCJieMian_base::rg_CaiChanLei*, int>;
  for (auto [menu, first] : {Menu{&codeMenu, 8000}, Menu{&richMenu, 9000}}) {
    ASSERT_TRUE(menu->Build());
    ASSERT_EQ(menu->GetPopupCount(), 1);
    EXPECT_EQ(menu->GetPopup(0)->title(), QStringLiteral("顶级菜单"));
    std::vector<std::string> shown;
    for (QAction* a : menu->GetPopup(0)->actions())
      shown.push_back(a->isSeparator() ? "-" : a->text().toStdString() + "=" + std::to_string(a->data().toInt() - first));
    EXPECT_EQ(shown, (std::vector<std::string>{"撤销(&U)=1", "-", "剪切(&C)=2", "复制(&O)=3", "粘贴(&P)=4", "删除(&D)=5",
                                               "-", "全选(&A)=6"}));
    EXPECT_EQ(EnabledFlags(*menu, first), "111111");
  }
}

TEST_F(EditBoxesOnScreen, CodeEditMenuGreysFromSelectionReadOnlyAndClipboard) {
  struct Case {
    const char* label;
    int selStart, selEnd;
    bool readOnly;
    const char* clipboard;
    const char* enabled;  // undo, cut, copy, paste, delete, select all
  };
  const Case cases[] = {
      {"nothing selected, empty clipboard", 0, 0, false, "", "100001"},
      {"selection, text on the clipboard", 0, 3, false, "剪贴", "111111"},
      {"read-only with a selection", 0, 3, true, "剪贴", "101101"},
      {"read-only, nothing selected", 2, 2, true, "x", "100101"},
  };
  code.SetCodeEditText(u"中文ABC");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    code.Send(kSciSetReadOnly, 0);
    code.Send(kSciSetSel, c.selStart, c.selEnd);
    code.Send(kSciSetReadOnly, c.readOnly ? 1 : 0);
    SetClipboard(QString::fromUtf8(c.clipboard));
    code.UpdateCodeEditMenuItems();
    EXPECT_EQ(EnabledFlags(code.GetMenu(), 8000), c.enabled);
  }
}

TEST_F(EditBoxesOnScreen, RichEditMenuGreysFromUndoSelectionReadOnlyAndPaste) {
  struct Case {
    const char* label;
    bool edited;  // typed into, so there is something to undo
    int selStart, selEnd;
    bool readOnly;
    const char* clipboard;
    const char* enabled;
  };
  const Case cases[] = {
      {"fresh text, nothing selected, empty clipboard", false, 0, 0, false, "", "000001"},
      {"edited, selection, text on the clipboard", true, 0, 2, false, "剪贴", "111111"},
      {"read-only with a selection", true, 0, 2, true, "剪贴", "101001"},
      {"backward selection counts", false, 3, 1, false, "x", "011111"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    rich.SetReadOnly(false);
    rich.SetText(u"中文ABC");  // clears the undo history
    if (c.edited) {
      rich.SetSel(7, 7);
      rich.ReplaceSel(u"D");
    }
    rich.SetSel(c.selStart, c.selEnd);
    rich.SetReadOnly(c.readOnly);
    SetClipboard(QString::fromUtf8(c.clipboard));
    rich.UpdateRichEditMenuItems();
    EXPECT_EQ(EnabledFlags(rich.GetMenu(), 9000), c.enabled);
  }
}

TEST(RichEditMenuWithoutWindow, UndoAndPasteAreGreyedAndTheStoredSelectionCounts) {
  rg_TavelkinChaoJiBianJiKuang1 rich;
  rich.SetSel(1, 3);
  rich.UpdateRichEditMenuItems();
  EXPECT_EQ(EnabledFlags(rich.GetMenu(), 9000), "011011");
  rich.SelectAll();  // stored as 0 to -1: a negative length counts as nothing
  rich.UpdateRichEditMenuItems();
  EXPECT_EQ(EnabledFlags(rich.GetMenu(), 9000), "000001");
}

TEST_F(EditBoxesOnScreen, EveryCodeEditCommandActsOnTheEditor) {
  code.SetCodeEditText(u"中文ABC");
  Command(code, 8006);  // select all
  EXPECT_EQ(SelectedText(code), "中文ABC");
  SetClipboard(QString());
  Command(code, 8003);  // copy
  EXPECT_EQ(Clipboard(), u"中文ABC");
  Command(code, 8002);  // cut
  EXPECT_EQ(code.GetCodeEditText(), u"");
  Command(code, 8004);  // paste
  Command(code, 8004);
  EXPECT_EQ(code.GetCodeEditText(), u"中文ABC中文ABC");
  code.Send(kSciSetSel, 0, 6);
  Command(code, 8005);  // delete
  EXPECT_EQ(code.GetCodeEditText(), u"ABC中文ABC");
  EXPECT_EQ(Clipboard(), u"中文ABC");  // delete leaves the clipboard alone
  Command(code, 8001);  // undo
  EXPECT_EQ(code.GetCodeEditText(), u"中文ABC中文ABC");
  code.Send(kSciSetSel, 0, 0);
  Command(code, 9006);  // another box's id does nothing here
  EXPECT_EQ(SelectedText(code), "");
}

TEST_F(EditBoxesOnScreen, EveryRichEditCommandActsOnTheBox) {
  rich.SetText(u"中文ABC");
  Command(rich, 9006);  // select all
  int start = -1, end = -1;
  rich.GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 5);
  SetClipboard(QString());
  Command(rich, 9003);  // copy
  EXPECT_EQ(Clipboard(), u"中文ABC");
  Command(rich, 9002);  // cut
  EXPECT_EQ(rich.GetText(), u"");
  Command(rich, 9004);  // paste
  Command(rich, 9004);
  EXPECT_EQ(rich.GetText(), u"中文ABC中文ABC");
  rich.SetSel(0, 2);
  Command(rich, 9005);  // delete
  EXPECT_EQ(rich.GetText(), u"ABC中文ABC");
  Command(rich, 9001);  // undo
  EXPECT_EQ(rich.GetText(), u"中文ABC中文ABC");
  Command(rich, 8002);  // the code edit box's cut does nothing here
  EXPECT_EQ(rich.GetText(), u"中文ABC中文ABC");
}

namespace {

// Watches for popup menus while a right press is handled: each one seen is
// recorded with its position and closed (choosing the command with the given
// caption first, when asked).
struct PopupWatch {
  struct Seen {
    QStringList captions;
    QPoint topLeft;
  };
  std::vector<Seen> seen;
  QString choose;
  QTimer timer;
  PopupWatch() {
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [this] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu || !menu->isVisible()) return;
      Seen s;
      for (QAction* a : menu->actions()) s.captions << a->text();
      s.topLeft = menu->geometry().topLeft();
      seen.push_back(s);
      QAction* pick = nullptr;
      for (QAction* a : menu->actions())
        if (!choose.isEmpty() && a->text() == choose) pick = a;
      if (pick) {
        menu->setActiveAction(pick);
        QTest::keyClick(menu, Qt::Key_Return);
      } else {
        menu->close();
      }
    });
    timer.start();
  }
};

void RightPress(CQzuWinControl& box, QPoint at) {
  QWidget* top = box.GetWidget()->window();
  const QPoint inWindow = box.GetWidget()->mapTo(top, at);
  QTest::mousePress(top->windowHandle(), Qt::RightButton, Qt::NoModifier, inWindow);
  QTest::mouseRelease(top->windowHandle(), Qt::RightButton, Qt::NoModifier, inWindow);
}

}  // namespace

TEST_F(EditBoxesOnScreen, ARightPressShowsOnlyOurMenuBesideThePointer) {
  for (CQzuWinControl* box : std::initializer_list<CQzuWinControl*>{&code, &rich}) {
    SCOPED_TRACE(box == &code ? "code edit box" : "rich edit box");
    hooks.cursorX = 150;
    hooks.cursorY = 120;
    PopupWatch watch;
    RightPress(*box, QPoint(60, 60));
    qzu_test::PumpFor(100);
    ASSERT_EQ(watch.seen.size(), 1u);
    EXPECT_EQ(watch.seen[0].captions.value(0), QStringLiteral("撤销(&U)"));
    EXPECT_EQ(watch.seen[0].topLeft, QPoint(153, 123));
  }
}

TEST_F(EditBoxesOnScreen, ShowingTheMenuGivesTheBoxTheFocus) {
  // Read from the window's focus widget: whether the window is active again
  // after the popup depends on the platform's timing.
  const auto focused = [](CQzuWinControl& box) {
    const QWidget* focus = box.GetWidget()->window()->focusWidget();
    return focus && (focus == box.GetWidget() || focus->focusProxy() == box.GetWidget());
  };
  code.SetFocus();
  {
    PopupWatch watch;
    rich.ShowRichEditMenu();
    EXPECT_EQ(watch.seen.size(), 1u);
  }
  EXPECT_TRUE(focused(rich));
  {
    PopupWatch watch;
    code.ShowCodeEditMenu();
    EXPECT_EQ(watch.seen.size(), 1u);
  }
  EXPECT_TRUE(focused(code));
}

TEST_F(EditBoxesOnScreen, ACommandChosenInThePoppedUpMenuIsCarriedOut) {
  code.SetCodeEditText(u"中文");
  rich.SetText(u"汉字");
  for (CQzuWinControl* box : std::initializer_list<CQzuWinControl*>{&code, &rich}) {
    PopupWatch watch;
    watch.choose = QStringLiteral("全选(&A)");
    RightPress(*box, QPoint(40, 10));
    qzu_test::PumpFor(50);
    ASSERT_EQ(watch.seen.size(), 1u);
  }
  EXPECT_EQ(SelectedText(code), "中文");
  int start = -1, end = -1;
  rich.GetSel(start, end);
  EXPECT_EQ(end - start, 2);
}

TEST_F(EditBoxesOnScreen, TheCreatedCodeEditBoxIsStyledWithLineNumbers) {
  EXPECT_EQ(code.Send(kSciGetMarginTypeN, 1), 1);
  EXPECT_EQ(code.Send(kSciStyleGetBack, 33), 0x808080);
  EXPECT_EQ(code.Send(kSciStyleGetFore, 33), 0x00FFFF);
  for (int style : {32, 33}) {
    EXPECT_EQ(code.Send(kSciStyleGetSize, style), 11);
    char face[64] = {};
    code.Send(kSciStyleGetFont, style, reinterpret_cast<intptr_t>(face));
    EXPECT_STREQ(face, "Microsoft YaHei");  // a name the editor can carry, mapped to the CJK font
  }
  EXPECT_EQ(code.Send(kSciGetScrollWidthTracking), 1);
}

TEST_F(EditBoxesOnScreen, TheLineNumberMarginFitsTheDigitsAtEachDpiFactor) {
  struct Case {
    double factor;
    int lines;
    int width;
  };
  const Case cases[] = {{1.0, 9, 14}, {1.0, 10, 23}, {1.5, 10, 33}, {1.5, 9, 20}, {2.0, 10, 46}, {2.0, 1000, 82}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.factor) + " x " + std::to_string(c.lines));
    SetDpiFactor(c.factor);
    CWString text;
    for (int i = 1; i < c.lines; ++i) text += u"行\n";
    code.SetCodeEditText(text);
    EXPECT_TRUE(PumpUntil([&] { return code.Send(kSciGetMarginWidthN, 1) == c.width; }))
        << code.Send(kSciGetMarginWidthN, 1);
  }
}

TEST(EditBoxCopies, ShareTheWindowAndTheMenuAndEqualOnlyThemselves) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 200, 100), 1);
  rg_TavelkinHuoHuaBianJiKuang1 code;
  rg_TavelkinChaoJiBianJiKuang1 rich;
  ASSERT_EQ(code.Create(&form, 0, 0, 100, 100), 1);
  ASSERT_EQ(rich.Create(&form, 100, 0, 100, 100), 1);
  code.SetTextMember(u"输入");
  ASSERT_TRUE(code.GetMenu().Build());
  ASSERT_TRUE(rich.GetMenu().Build());

  CQzuObject* codeClone = code.Clone();
  CQzuObject* richClone = rich.Clone();
  ASSERT_NE(codeClone, nullptr);
  ASSERT_NE(richClone, nullptr);
  auto* c = static_cast<rg_TavelkinHuoHuaBianJiKuang1*>(codeClone);
  auto* r = static_cast<rg_TavelkinChaoJiBianJiKuang1*>(richClone);
  EXPECT_EQ(c->GetWidget(), code.GetWidget());
  EXPECT_EQ(r->GetWidget(), rich.GetWidget());
  EXPECT_EQ(c->GetMenu().GetPopup(0), code.GetMenu().GetPopup(0));
  EXPECT_EQ(r->GetMenu().GetPopup(0), rich.GetMenu().GetPopup(0));
  EXPECT_FALSE(c->IsEqual(code));
  EXPECT_TRUE(code.IsEqual(code));
  EXPECT_FALSE(r->IsEqual(rich));

  CQzuMemStream stream;
  code.SaveToStream(stream);
  rg_TavelkinHuoHuaBianJiKuang1 loaded;
  CQzuMemStream back(stream.Buffer());
  loaded.LoadFromStream(back);
  EXPECT_EQ(loaded.GetTextMember(), u"输入");
  EXPECT_TRUE(back.Ok());

  // A copy going away leaves the box and its window working.
  codeClone->Release();
  richClone->Release();
  code.SetCodeEditText(u"还在");
  EXPECT_EQ(code.GetCodeEditText(), u"还在");
  form.DestroyWindow();
}
