#include "framework/screen_area.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
QRect g_virtualArea;
}  // namespace

QRect AvailableScreenArea() {
  if (!g_virtualArea.isEmpty()) return g_virtualArea;
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

void SetAvailableScreenArea(const QRect& area) { g_virtualArea = area; }
