#pragma once
// CQzuClientScroller: lets a form whose client area is smaller than what its
// layout needs scroll instead of cutting its controls. The layout lays the
// children out in content coordinates (as if the client were at least the
// needed size); the scroller then shows a scroll bar on each edge where the
// client is too small and moves the form's child windows by the bars'
// offset. Scrolling moves the children only; it never resizes them.
//
// Use on every layout: Unscroll() first, then Arrange() for the size to lay
// out at, then Scroll(). UI thread; the bars are children of the form's
// window and go with it.
#include <QPoint>
#include <QPointer>
#include <QScrollBar>
#include <QSize>

class QWidget;

namespace rg_Ombrine_MFCJieMian_base {

class CQzuWinControl;

class CQzuClientScroller {
 public:
  // Moves the children back to their places at offset 0.
  void Unscroll(CQzuWinControl& form);
  // The size to lay out at: the client size, grown to `needed` on each axis
  // where the client (less the bars this shows) is smaller. Shows, places
  // and ranges the bars; hides them when everything fits.
  QSize Arrange(CQzuWinControl& form, const QSize& needed);
  // Moves the children by the bars' offset.
  void Scroll(CQzuWinControl& form);

  // The offset the children are moved by now (0, 0 when nothing scrolls).
  QPoint Offset() const { return m_applied; }
  QScrollBar* HorizontalBar() const { return m_horizontal.data(); }
  QScrollBar* VerticalBar() const { return m_vertical.data(); }

 private:
  void EnsureBars(CQzuWinControl& form);
  void MoveChildren(QWidget* window, const QPoint& offset);

  QPointer<QScrollBar> m_horizontal;
  QPointer<QScrollBar> m_vertical;
  QPoint m_applied;
};

}  // namespace rg_Ombrine_MFCJieMian_base

using rg_Ombrine_MFCJieMian_base::CQzuClientScroller;
