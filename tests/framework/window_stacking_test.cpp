// The stays-on-top hint changed in place: the native window stays the same
// and stays shown, unlike QWidget's own flag change.
#include <gtest/gtest.h>

#include <QTest>
#include <QWindow>

#include "framework/win_form.h"
#include "framework/window_stacking.h"

using namespace rg_Ombrine_MFCJieMian_base;

TEST(WindowStacking, TheHintChangesWithoutANewNativeWindow) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 200, 100), 1);
  CQzuWinControl child;
  ASSERT_EQ(child.Create(&form, 0, 0, 50, 50), 1);
  QWidget* w = form.GetWidget();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  QWindow* native = w->windowHandle();
  for (bool onTop : {true, false, true}) {
    SetStaysOnTopInPlace(w, onTop);
    EXPECT_EQ(IsStaysOnTop(w), onTop);
    EXPECT_EQ(native->flags().testFlag(Qt::WindowStaysOnTopHint), onTop);
    EXPECT_EQ(w->windowHandle(), native);
    EXPECT_TRUE(w->isVisible());
  }
  SetStaysOnTopInPlace(child.GetWidget(), true);  // not a top-level window
  EXPECT_FALSE(IsStaysOnTop(child.GetWidget()));
  SetStaysOnTopInPlace(nullptr, true);
  form.DestroyWindow();
}
