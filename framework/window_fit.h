#pragma once
// FitWindowToArea: the DPI factor and client size a top-level window opens at
// so that it fits the screen's available area. Its design size (logical
// pixels at 96 DPI) is scaled as controls are (value x factor + 0.5,
// truncated); it fits when that size plus an allowance for the window
// system's frame (title bar and borders, not known before the window is
// shown) lies inside the area.
//   - It fits at the screen's factor: that factor and the scaled size.
//   - Else the largest factor on the 0.25 grid below the screen's (1.75,
//     1.5, 1.25, never below 1) at which it fits, and the size at it.
//   - Else (it does not fit even at 1): factor 1 and the design size cut to
//     the area's client part on each axis where it is larger; the window's
//     client area then scrolls what no longer fits.
// ApplyUiScale sets the process-wide factor and the application's default
// font at that factor (start-up set it at the screen's). UI thread.
#include <QSize>

struct WindowFit {
  double factor = 1.0;
  QSize clientSize;
};

// Frame allowance in device pixels at `factor`.
QSize FrameAllowance(double factor);
// The client size a window can have inside `area` at `factor`.
QSize AvailableClientSize(const QSize& area, double factor);
WindowFit FitWindowToArea(const QSize& designSize, double screenFactor, const QSize& area);
void ApplyUiScale(double factor);
