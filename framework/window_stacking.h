#pragma once
// Changing a top-level window's stays-on-top hint in place. QWidget's own
// setWindowFlag re-creates the native window, which hides it and makes it
// flicker on X11; here the widget's flags are overridden and the platform
// window is told directly, which window managers apply to a mapped window.
// UI thread only.
class QWidget;

// Sets or clears the hint on `window`'s top-level window; nothing for null
// or for a window that is not top-level.
void SetStaysOnTopInPlace(QWidget* window, bool onTop);
bool IsStaysOnTop(const QWidget* window);
