// Tool tips styled per control: a control's own text colour and margin show
// on its tip only, the program's tip palette stays as it was, and a plain tip
// shown after a styled one looks plain again.
#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QLabel>
#include <QTest>
#include <QToolTip>

#include "framework/colorref.h"
#include "framework/label.h"
#include "framework/tool_tip_style.h"
#include "framework/win_form.h"
#include "framework_test_util.h"

using namespace rg_Ombrine_MFCJieMian_base;
using qzu_test::PumpUntil;

namespace {

// Asks the control's window for its tip, as the pointer resting on it does.
QLabel* ShowTipOf(CQzuWinControl& control) {
  QWidget* w = control.GetWidget();
  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(w, &help);
  PumpUntil([] { return VisibleToolTipWindow() != nullptr; }, 1000);
  return qobject_cast<QLabel*>(VisibleToolTipWindow());
}

}  // namespace

TEST(ToolTipStyle, ColourAndMarginBelongToTheirControlAlone) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 30, 30, 300, 200), 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  rg_label8 plain, styled;
  plain.SetToolTip(u"普通提示");
  styled.SetToolTip(u"绿色提示");
  styled.SetToolTipStyle(0x008000, 7);
  ASSERT_EQ(plain.Create(&form, 10, 10, 100, 24, 1, u"普通"), 1);
  ASSERT_EQ(styled.Create(&form, 10, 50, 100, 24, 2, u"绿色"), 1);
  const QColor programTipText = QToolTip::palette().color(QPalette::ToolTipText);
  ASSERT_NE(programTipText, QColorFromRef(0x008000));

  QLabel* tip = ShowTipOf(plain);
  ASSERT_TRUE(tip);
  EXPECT_EQ(tip->text(), QString::fromUtf16(u"普通提示"));
  const int qtMargin = tip->margin();
  EXPECT_EQ(tip->palette().color(QPalette::ToolTipText), programTipText);

  tip = ShowTipOf(styled);
  ASSERT_TRUE(tip);
  EXPECT_EQ(tip->text(), QString::fromUtf16(u"绿色提示"));
  EXPECT_EQ(tip->palette().color(QPalette::ToolTipText), QColorFromRef(0x008000));
  EXPECT_EQ(tip->margin(), 7);
  EXPECT_GE(tip->width(), tip->sizeHint().width());
  EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipText), programTipText);

  // Qt reuses the visible tip window: the plain control's tip is plain again.
  tip = ShowTipOf(plain);
  ASSERT_TRUE(tip);
  EXPECT_EQ(tip->palette().color(QPalette::ToolTipText), programTipText);
  EXPECT_EQ(tip->margin(), qtMargin);
  QToolTip::hideText();
}
