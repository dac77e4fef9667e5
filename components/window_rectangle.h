#pragma once
// The rectangle of a window in screen coordinates, or relative to its parent
// window: the whole window (frame included for a top-level window) or its
// client area (inside the frame; a scrolling editor's viewport). UI thread
// only.
#include "framework/drawing_dc.h"

class QWidget;

namespace rg_Ombrine_base {
// The framework's rectangle value: left, top, right and bottom.
using rg_JuXingLei = QzuRect;
}  // namespace rg_Ombrine_base

// The window's rectangle of the chosen kind on the screen; with
// `relativeToParent`, minus the left and top of the parent's rectangle of
// the same kind when the window has a parent (an owned top-level window's
// parent is its owner). All zero for a null window.
rg_Ombrine_base::rg_JuXingLei GetWindowRectangle(const QWidget* window, bool wholeWindow, bool relativeToParent);
