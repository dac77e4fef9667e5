#pragma once
// The colour-window operations of the drop-down list's colour mode: showing
// the registered colour window (framework/colour_window.h) beside a control
// and waiting for its choice, filling its displays from a colour, and its
// caption. The program registers no colour window; without one nothing here
// is reached (the list shows its notice instead). UI thread only.
#include <QPoint>

#include <cstdint>

#include "framework/colour_window.h"
#include "framework/drawing_dc.h"
#include "framework/win_control.h"

// UpdateColourWindow's kinds: the caller passes this one, which fills every
// display.
inline constexpr int kUpdateEveryColourDisplay = 0;
// Caption parts.
inline constexpr char16_t kColourCaption[] = u"当前颜色 ";
inline constexpr char16_t kColourCaptionPinned[] = u"(已钉.同色右击解钉.不同色右击再钉)";
inline constexpr char16_t kColourCaptionUnpinned[] = u"(右击下面色格可钉住数值不动)";
inline constexpr char16_t kColourCaptionSaturation[] = u" 饱和度";
// How long the wait sleeps between two pumps.
inline constexpr int kColourWindowWaitMilliseconds = 10;

// Where a window of `width` x `height` goes beside an anchor whose screen
// rectangle is `anchor` (left, top, right, bottom) on a screen of
// `screenWidth` x `screenHeight`: below the anchor, or above it when more of
// the screen lies above its top than below its bottom; from the anchor's
// left edge, or ending at its right edge when more lies left of its right
// edge than right of its left edge; then moved so that it ends inside the
// screen, and at last to no less than 0 (the top left corner stays on a
// screen smaller than the window).
QPoint ColourWindowPosition(const QzuRect& anchor, int width, int height, int screenWidth, int screenHeight);

// Shows the registered colour window beside `anchor` with `colour` and waits,
// pumping messages and sleeping 10 ms in turn, while the window exists:
// the window is made anew, receives the colour as hue, saturation and
// lightness (0..240), is placed by ColourWindowPosition on the primary screen,
// updated (every display), captioned and shown; its picks and pin changes
// update it while it is open. Returns the window's result colour: the chosen
// colour, or -1 (kNoColourChosen) when it closed without a choice, when it
// could not be made, or when no colour window is registered.
COLORREF PlaceColourWindow(const CQzuWinControl& anchor, COLORREF colour);

// Fills the window from a colour, unless an update of it is already running:
// kColourFromHsl takes the colour of the window's hue, saturation and
// lightness (HslToRgb); -1 stands for white and 0xFF000000 for the button
// face, and for any colour but kColourFromHsl the window's hue, saturation
// and lightness become those of the colour (RgbToHsl). The displays then show
// the colour as the decimal number of 0xRRGGBB, as "#RRGGBB", its red, green
// and blue bytes and its hue, saturation and lightness (each "%d"); the
// swatches show the colour and its companion (DerivedColour).
void UpdateColourWindow(IColourWindow& window, COLORREF colour, int kind);

// "当前颜色 " and the pinned or unpinned hint, then " 饱和度" and the saturation
// setting when that is not 240.
void DrawColourCaption(IColourWindow& window);
