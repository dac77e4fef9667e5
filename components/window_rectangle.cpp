#include "components/window_rectangle.h"

#include <QAbstractScrollArea>
#include <QWidget>

namespace {

QzuRect ScreenRect(const QWidget* w, const QRect& local) {
  const QPoint origin = w->mapToGlobal(local.topLeft());
  return QzuRect{origin.x(), origin.y(), origin.x() + local.width(), origin.y() + local.height()};
}

QzuRect RectangleOnScreen(const QWidget* w, bool wholeWindow) {
  if (wholeWindow) {
    if (w->isWindow()) {
      const QRect frame = w->frameGeometry();
      return QzuRect{frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
    }
    return ScreenRect(w, w->rect());
  }
  // The client area leaves out the border and, in a scrolling editor, the
  // scroll bars: what is left is the viewport.
  if (const auto* area = qobject_cast<const QAbstractScrollArea*>(w); area && area->viewport())
    return ScreenRect(area->viewport(), area->viewport()->rect());
  return ScreenRect(w, w->contentsRect());
}

}  // namespace

rg_Ombrine_base::rg_JuXingLei GetWindowRectangle(const QWidget* window, bool wholeWindow, bool relativeToParent) {
  if (!window) return QzuRect{};
  QzuRect r = RectangleOnScreen(window, wholeWindow);
  if (relativeToParent) {
    if (const QWidget* parent = window->parentWidget()) {
      const QzuRect p = RectangleOnScreen(parent, wholeWindow);
      r.left -= p.left;
      r.right -= p.left;
      r.top -= p.top;
      r.bottom -= p.top;
    }
  }
  return r;
}
