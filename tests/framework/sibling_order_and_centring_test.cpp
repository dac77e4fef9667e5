// Sending a control under its siblings, and forms centred on the primary
// screen when they are made without a position.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "framework/win_form.h"

using namespace rg_Ombrine_MFCJieMian_base;

TEST(SiblingOrder, SendToBottomPutsAControlUnderTheOnesMadeBefore) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 200, 100), 1);
  CQzuWinControl first, second, third;
  ASSERT_EQ(first.Create(&form, 0, 0, 100, 100), 1);
  ASSERT_EQ(second.Create(&form, 50, 0, 100, 100), 1);
  ASSERT_EQ(third.Create(&form, 60, 0, 100, 100), 1);
  QWidget* w = form.GetWidget();
  EXPECT_EQ(w->childAt(70, 50), third.GetWidget());  // the last one made is on top
  third.SendToBottom();
  EXPECT_EQ(w->childAt(70, 50), second.GetWidget());
  EXPECT_EQ(w->childAt(155, 50), third.GetWidget());  // where nothing covers it
  second.SendToBottom();
  EXPECT_EQ(w->childAt(70, 50), first.GetWidget());
  EXPECT_EQ(w->childAt(120, 50), third.GetWidget());
  // Brought back to the top again.
  second.BringToTop();
  EXPECT_EQ(w->childAt(70, 50), second.GetWidget());

  CQzuWinControl windowless;
  windowless.SendToBottom();  // nothing to do, nothing breaks
  EXPECT_FALSE(windowless.HasWindow());
  form.DestroyWindow();
}

TEST(FormCentring, AFormMadeWithoutAPositionIsCentredWhenAskedTo) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  CQzuWinForm centred;
  centred.SetCentredOnScreen(true);
  ASSERT_EQ(centred.CreateForm(nullptr, qzu_win::kCwUseDefault, qzu_win::kCwUseDefault, 300, 200), 1);
  EXPECT_EQ(centred.GetWidget()->x(), area.x() + (area.width() - 300) / 2);
  EXPECT_EQ(centred.GetWidget()->y(), area.y() + (area.height() - 200) / 2);
  centred.DestroyWindow();

  // A position given wins over the centring.
  CQzuWinForm placed;
  placed.SetCentredOnScreen(true);
  ASSERT_EQ(placed.CreateForm(nullptr, 7, 9, 300, 200), 1);
  EXPECT_EQ(placed.GetWidget()->geometry().topLeft(), QPoint(7, 9));
  placed.DestroyWindow();

  // Larger than the screen: the top left corner stays on it.
  CQzuWinForm large;
  large.SetCentredOnScreen(true);
  ASSERT_EQ(large.CreateForm(nullptr, qzu_win::kCwUseDefault, qzu_win::kCwUseDefault, area.width() + 400,
                             area.height() + 300),
            1);
  EXPECT_EQ(large.GetWidget()->pos(), area.topLeft());
  // Later, after it was moved away: the frame, known once shown, is centred.
  large.Move(-50, -60, 200, 100);
  large.CentreOnScreen();
  const QRect frame = large.GetWidget()->frameGeometry();
  EXPECT_EQ(frame.x(), area.x() + (area.width() - frame.width()) / 2);
  EXPECT_EQ(frame.y(), area.y() + (area.height() - frame.height()) / 2);
  large.DestroyWindow();
}
