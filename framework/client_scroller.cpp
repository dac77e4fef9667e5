#include "framework/client_scroller.h"

#include <QStyle>
#include <QWidget>

#include <algorithm>

#include "framework/win_control.h"

namespace rg_Ombrine_MFCJieMian_base {

void CQzuClientScroller::EnsureBars(CQzuWinControl& form) {
  QWidget* window = form.GetWidget();
  if (!window || (m_horizontal && m_horizontal->parentWidget() == window)) return;
  m_horizontal = new QScrollBar(Qt::Horizontal, window);
  m_vertical = new QScrollBar(Qt::Vertical, window);
  for (QScrollBar* bar : {m_horizontal.data(), m_vertical.data()}) {
    bar->hide();
    // A bar moved by the user moves the children at once; the form's own
    // layout is not run again.
    QObject::connect(bar, &QScrollBar::valueChanged, window, [this, &form] { Scroll(form); });
  }
}

void CQzuClientScroller::MoveChildren(QWidget* window, const QPoint& offset) {
  const QPoint delta = offset - m_applied;
  m_applied = offset;
  if (delta.isNull()) return;
  for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow() || child == m_horizontal || child == m_vertical) continue;
    child->move(child->pos() - delta);
  }
}

void CQzuClientScroller::Unscroll(CQzuWinControl& form) {
  if (QWidget* window = form.GetWidget()) MoveChildren(window, QPoint());
}

QSize CQzuClientScroller::Arrange(CQzuWinControl& form, const QSize& needed) {
  QWidget* window = form.GetWidget();
  if (!window) return needed;
  const QSize client = window->size();
  const int extent = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window);
  // A bar on one edge takes room from the other axis, which may then need
  // its own bar too.
  bool horizontal = client.width() < needed.width();
  bool vertical = client.height() - (horizontal ? extent : 0) < needed.height();
  if (!horizontal && vertical) horizontal = client.width() - extent < needed.width();
  const QSize view(client.width() - (vertical ? extent : 0), client.height() - (horizontal ? extent : 0));
  const QSize content(std::max(view.width(), needed.width()), std::max(view.height(), needed.height()));
  if (!horizontal && !vertical) {
    if (m_horizontal) m_horizontal->hide();
    if (m_vertical) m_vertical->hide();
    return content;
  }
  EnsureBars(form);
  struct Axis {
    QScrollBar* bar;
    bool shown;
    int view, content;
    QRect place;
  } axes[] = {
      {m_horizontal, horizontal, view.width(), content.width(), QRect(0, view.height(), view.width(), extent)},
      {m_vertical, vertical, view.height(), content.height(), QRect(view.width(), 0, extent, view.height())},
  };
  for (const Axis& a : axes) {
    const QSignalBlocker quiet(a.bar);
    a.bar->setRange(0, a.shown ? a.content - a.view : 0);
    a.bar->setPageStep(std::max(1, a.view));
    a.bar->setSingleStep(std::max(1, a.view / 20));
    a.bar->setGeometry(a.place);
    a.bar->setVisible(a.shown);
    if (a.shown) a.bar->raise();
  }
  return content;
}

void CQzuClientScroller::Scroll(CQzuWinControl& form) {
  QWidget* window = form.GetWidget();
  if (!window) return;
  const int x = m_horizontal && m_horizontal->isVisibleTo(window) ? m_horizontal->value() : 0;
  const int y = m_vertical && m_vertical->isVisibleTo(window) ? m_vertical->value() : 0;
  MoveChildren(window, QPoint(x, y));
}

}  // namespace rg_Ombrine_MFCJieMian_base
