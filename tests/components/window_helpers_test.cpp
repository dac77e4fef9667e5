// The window helpers: the title hint with its countdown and without a main
// window, window rectangles on the screen and relative to the parent, and
// bringing a form to the front without re-creating its window.
#include <gtest/gtest.h>

#include <QTest>
#include <QWindow>

#include "components/bring_to_front.h"
#include "components/title_hint.h"
#include "components/window_rectangle.h"
#include "editor_test_util.h"
#include "framework/rich_edit.h"
#include "framework/win_form.h"
#include "framework/window_stacking.h"
#include "qt_pump.h"

using rg_Ombrine_base::rg_JuXingLei;

namespace {

// Hooks that also note the stays-on-top state of a window whenever messages
// are pumped.
struct PumpWatch : qzu_test::EditorHooks {
  QWidget* watched = nullptr;
  std::vector<bool> onTopWhilePumping;
  void PumpPendingMessages() override {
    if (watched) onTopWhilePumping.push_back(IsStaysOnTop(watched));
    CQtPlatformHooks::PumpPendingMessages();
  }
};

class WindowHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = InstallPlatformHooks(&hooks);
    SetMainWindowPointer(nullptr);
    SavedTitle().Empty();
  }
  void TearDown() override {
    SetMainWindowPointer(nullptr);
    SavedTitle().Empty();
    InstallPlatformHooks(previous);
  }
  PumpWatch hooks;
  IPlatformHooks* previous = nullptr;
};

bool Same(const rg_JuXingLei& a, const rg_JuXingLei& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_F(WindowHelpers, WithoutAMainWindowTheHintOnlySaysSo) {
  SetTitleHint(u"正在处理", u"3");
  ASSERT_EQ(hooks.messages.size(), 2u);
  EXPECT_EQ(hooks.messages[0], u"还没有设置主窗口指针，无法设置标题提示");
  EXPECT_EQ(hooks.messages[1], u"信息:");
  EXPECT_EQ(hooks.styles, std::vector<int>{kMbIconInformation});
  EXPECT_TRUE(SavedTitle().IsEmpty());
}

TEST_F(WindowHelpers, TheHintCountsDownAfterTheSavedTitleAndAnEmptyMessageRestoresIt) {
  CQzuWinForm main;
  main.SetCaption(u"编码转换");
  ASSERT_EQ(main.CreateForm(nullptr, 0, 0, 300, 100), 1);
  SetMainWindowPointer(&main);

  // A countdown as a clock would drive it, one second at a time.
  for (int left = 3; left >= 1; --left) {
    SetTitleHint(u"关闭Word", CWString::FromInt(left));
    EXPECT_EQ(main.GetCaption(), CWString(u"编码转换 - 等待 ") + CWString::FromInt(left) + u" 秒后，关闭Word");
  }
  struct Case {
    const char16_t* seconds;
    const char16_t* title;
  };
  const Case cases[] = {
      {u"0", u"编码转换 - 关闭Word"},
      {u"", u"编码转换 - 关闭Word"},
      {u"秒", u"编码转换 - 关闭Word"},
      {u"-2", u"编码转换 - 关闭Word"},
      {u" 2.5", u"编码转换 - 等待  2.5 秒后，关闭Word"},  // the text is shown as given
      {u"1x", u"编码转换 - 等待 1x 秒后，关闭Word"},      // a leading number is enough
  };
  for (const Case& c : cases) {
    SetTitleHint(u"关闭Word", c.seconds);
    EXPECT_EQ(main.GetCaption(), c.title) << CWString(c.seconds).ToUtf8();
  }
  // Someone else's title is replaced by the saved one on the next hint.
  main.SetCaption(u"别的标题");
  SetTitleHint(u"第 2 个文件", u"");
  EXPECT_EQ(main.GetCaption(), u"编码转换 - 第 2 个文件");
  SetTitleHint(u"", u"5");
  EXPECT_EQ(main.GetCaption(), u"编码转换");
  EXPECT_TRUE(hooks.messages.empty());
  main.DestroyWindow();
}

TEST_F(WindowHelpers, RectanglesOnTheScreenAndRelativeToTheParent) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 50, 40, 300, 200), 1);
  CQzuWinControl plain;
  ASSERT_EQ(plain.Create(&form, 10, 20, 100, 50), 1);
  rg_Ombrine_MFCJieMian_base::rg_rich_edit framed;
  ASSERT_EQ(framed.Create(&form, 120, 20, 100, 50), 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  const QPoint origin = form.GetWidget()->mapToGlobal(QPoint(0, 0));

  // The form's whole window includes its frame; its client area starts at
  // `origin`.
  const QRect frame = form.GetWidget()->frameGeometry();
  const int dx = origin.x() - frame.left(), dy = origin.y() - frame.top();

  EXPECT_TRUE(Same(GetWindowRectangle(plain.GetWidget(), true, false),
                   {origin.x() + 10, origin.y() + 20, origin.x() + 110, origin.y() + 70}));
  EXPECT_TRUE(Same(GetWindowRectangle(plain.GetWidget(), false, true), {10, 20, 110, 70}));
  EXPECT_TRUE(Same(GetWindowRectangle(plain.GetWidget(), true, true), {10 + dx, 20 + dy, 110 + dx, 70 + dy}));
  EXPECT_TRUE(Same(GetWindowRectangle(framed.GetWidget(), true, true), {120 + dx, 20 + dy, 220 + dx, 70 + dy}));

  // A framed editor's client area lies inside its window rectangle.
  const rg_JuXingLei whole = GetWindowRectangle(framed.GetWidget(), true, false);
  const rg_JuXingLei client = GetWindowRectangle(framed.GetWidget(), false, false);
  EXPECT_GT(client.left, whole.left);
  EXPECT_GT(client.top, whole.top);
  EXPECT_LT(client.right, whole.right);
  EXPECT_LT(client.bottom, whole.bottom);
  const rg_JuXingLei clientInParent = GetWindowRectangle(framed.GetWidget(), false, true);
  EXPECT_EQ(clientInParent.left, client.left - origin.x());
  EXPECT_EQ(clientInParent.top, client.top - origin.y());

  const rg_JuXingLei formClient = GetWindowRectangle(form.GetWidget(), false, false);
  EXPECT_TRUE(Same(formClient, {origin.x(), origin.y(), origin.x() + 300, origin.y() + 200}));
  EXPECT_TRUE(Same(GetWindowRectangle(nullptr, true, true), {0, 0, 0, 0}));
  form.DestroyWindow();
}

TEST_F(WindowHelpers, BringingToFrontCrossesTheTopmostBandInPlaceAndComesBack) {
  for (bool topmost : {false, true}) {
    SCOPED_TRACE(topmost);
    CQzuWinForm form;
    form.SetTopMost(topmost);
    ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 200, 100), 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
    QWindow* native = form.GetWidget()->windowHandle();
    int hidden = 0;
    QObject::connect(native, &QWindow::visibleChanged, [&](bool visible) { hidden += visible ? 0 : 1; });
    hooks.watched = form.GetWidget();
    hooks.onTopWhilePumping.clear();

    BringWindowToFront(form);
    EXPECT_EQ(hooks.onTopWhilePumping, std::vector<bool>{!topmost});
    EXPECT_EQ(IsStaysOnTop(form.GetWidget()), topmost);
    EXPECT_EQ(form.GetWidget()->windowHandle(), native);  // the same native window
    EXPECT_EQ(native->flags().testFlag(Qt::WindowStaysOnTopHint), topmost);
    EXPECT_EQ(hidden, 0);
    EXPECT_TRUE(form.GetWidget()->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.GetWidget()));
    hooks.watched = nullptr;
    form.DestroyWindow();
  }
}

TEST_F(WindowHelpers, BringingToFrontRestoresAMinimisedFormAndLeavesAHiddenOneAlone) {
  CQzuWinForm minimised, hidden;
  hidden.SetVisible(false);
  ASSERT_EQ(minimised.CreateForm(nullptr, 0, 0, 200, 100), 1);
  ASSERT_EQ(hidden.CreateForm(nullptr, 0, 0, 200, 100), 1);
  minimised.GetWidget()->showMinimized();
  ASSERT_TRUE(qzu_test::PumpUntil([&] { return minimised.GetWidget()->isMinimized(); }));
  BringWindowToFront(minimised);
  EXPECT_FALSE(minimised.GetWidget()->isMinimized());

  hooks.watched = hidden.GetWidget();
  BringWindowToFront(hidden);
  EXPECT_TRUE(hooks.onTopWhilePumping.empty());
  EXPECT_FALSE(hidden.GetWidget()->isVisible());
  EXPECT_FALSE(IsStaysOnTop(hidden.GetWidget()));
  hooks.watched = nullptr;
  minimised.DestroyWindow();
  hidden.DestroyWindow();
}
