// Controls that show a menu of their own: the widget's built-in context menu
// stays shut on a right press, and stays the default elsewhere.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "framework/rich_edit.h"
#include "framework/scintilla_host.h"
#include "framework/win_form.h"
#include "framework_test_util.h"

using namespace rg_Ombrine_MFCJieMian_base;

namespace {

// Right-presses the control through its window, as the window system would,
// and counts the popup menus that open (each is closed at once).
int MenusOnRightPress(CQzuWinControl& control) {
  int menus = 0;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      ++menus;
      menu->close();
    }
  });
  closer.start(10);
  QWidget* top = control.GetWidget()->window();
  const QPoint at = control.GetWidget()->mapTo(top, QPoint(20, 20));
  QTest::mousePress(top->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
  QTest::mouseRelease(top->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
  qzu_test::PumpFor(60);
  return menus;
}

template <class Control>
void CheckBuiltInMenuIsSwitchedOff(bool switchOffBeforeCreation) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 300, 200), 1);
  Control control;
  if (switchOffBeforeCreation) control.SetOwnContextMenu(true);
  ASSERT_EQ(control.Create(&form, 0, 0, 300, 200), 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  if (!switchOffBeforeCreation) {
    EXPECT_EQ(MenusOnRightPress(control), 1);  // the widget's own menu
    control.SetOwnContextMenu(true);
  }
  EXPECT_TRUE(control.HasOwnContextMenu());
  EXPECT_EQ(MenusOnRightPress(control), 0);
  form.DestroyWindow();
}

}  // namespace

TEST(OwnContextMenu, SwitchesOffTheTextEditorsMenu) {
  CheckBuiltInMenuIsSwitchedOff<rg_rich_edit>(false);
  CheckBuiltInMenuIsSwitchedOff<rg_rich_edit>(true);
}

TEST(OwnContextMenu, SwitchesOffTheCodeEditorsMenu) {
  CheckBuiltInMenuIsSwitchedOff<rg_scintilla_edit>(false);
  CheckBuiltInMenuIsSwitchedOff<rg_scintilla_edit>(true);
}
