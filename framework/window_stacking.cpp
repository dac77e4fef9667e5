#include "framework/window_stacking.h"

#include <QWidget>
#include <QWindow>

void SetStaysOnTopInPlace(QWidget* window, bool onTop) {
  if (!window || !window->isWindow()) return;
  Qt::WindowFlags flags = window->windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
  if (flags == window->windowFlags()) return;
  window->overrideWindowFlags(flags);
  if (QWindow* handle = window->windowHandle()) handle->setFlags(flags);
}

bool IsStaysOnTop(const QWidget* window) {
  return window && window->isWindow() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}
