#include "framework/tool_tip_style.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QToolTip>

#include "framework/colorref.h"

namespace {

// Qt's tip window is a QLabel with this object name.
QLabel* ToolTipLabel() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible()) return qobject_cast<QLabel*>(w);
  return nullptr;
}

}  // namespace

QWidget* VisibleToolTipWindow() { return ToolTipLabel(); }

void ShowStyledToolTip(const QPoint& globalPos, const QString& text, QWidget* widget, COLORREF textColour,
                       int margin) {
  QToolTip::showText(globalPos, text, widget);
  QLabel* tip = ToolTipLabel();
  if (!tip) return;
  // Qt reuses a visible tip window as it is: set everything each time, so
  // that a plain tip after a styled one looks plain again.
  QPalette palette = QToolTip::palette();
  if (textColour != 0xFFFFFFFFu) palette.setColor(QPalette::ToolTipText, QColorFromRef(textColour));
  tip->setPalette(palette);
  // Qt's own margin, as its tip label sets it.
  const int qtMargin = 1 + tip->style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, tip);
  tip->setMargin(margin > 0 ? margin : qtMargin);
  tip->resize(tip->sizeHint() + QSize(1, 0));
}
