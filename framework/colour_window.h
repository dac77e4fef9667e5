#pragma once
// IColourWindow: what a colour window offers the colour-window operations of
// the drop-down list's colour mode (components/colour_window_operations.h),
// and the one process-wide pointer to the registered window. The program
// registers none, so choosing the custom colour only shows a notice there;
// the drop-down demo and the tests register a CQzuColourDialog
// (framework/colour_dialog.h).
//
// A colour window is a top-level window that can be made anew, moved and
// shown; it holds hue, saturation and lightness values (0..240), text
// displays for the decimal, hexadecimal, component and HSL forms of its
// colour, two swatches, a pinned flag, a saturation setting, a caption and
// the result colour its caller reads after it closed (-1: none chosen).
// The window itself never computes a colour: when its user changes the
// values or picks a colour it calls `colourPicked`, and when the pinned flag
// changes `pinnedChanged`, which the operations set before showing it.
// UI thread only; the registered window must outlive its registration.
#include <QSize>

#include <cstdint>
#include <functional>

#include "common/wstring.h"
#include "framework/win_defs.h"

// The text displays of a colour window.
enum ColourDisplay : int {
  kColourDecimal = 0,  // the colour as one number in 0xRRGGBB order, "%d"
  kColourHex,          // "#RRGGBB"
  kColourRed,
  kColourGreen,
  kColourBlue,
  kColourHue,
  kColourSaturation,
  kColourLightness,
  kColourDisplayCount
};

// Passed to `colourPicked` (and to UpdateColourWindow): the colour is made
// from the window's hue, saturation and lightness.
inline constexpr COLORREF kColourFromHsl = 0x80000000u;
// The result of a window closed without a choice.
inline constexpr COLORREF kNoColourChosen = 0xFFFFFFFFu;
// The saturation setting that adds nothing to the caption.
inline constexpr int32_t kFullSaturationSetting = 240;

class IColourWindow {
 public:
  virtual ~IColourWindow() = default;

  // Destroys the window when it exists and makes it anew, hidden, at its
  // default position; false when it could not be made.
  virtual bool RecreateColourWindow() = 0;
  virtual bool ColourWindowExists() const = 0;
  // The outer size of the window as it will show.
  virtual QSize ColourWindowSize() const = 0;
  // The window's top left corner on the screen.
  virtual void MoveColourWindow(int x, int y) = 0;
  virtual void ShowColourWindow() = 0;
  virtual void SetColourDisplay(ColourDisplay display, const CWString& text) = 0;
  // The first swatch shows the colour, the second its companion; the window
  // keeps the colour as the one its user may choose.
  virtual void SetColourSwatches(COLORREF colour, COLORREF companion) = 0;
  virtual void SetColourWindowCaption(const CWString& caption) = 0;

  int32_t hue = 0, saturation = 0, lightness = 0;  // 0..240
  int32_t pinned = 0;
  int32_t saturationSetting = kFullSaturationSetting;
  COLORREF resultColour = kNoColourChosen;
  // Set while UpdateColourWindow runs: it is not entered again.
  bool updating = false;

  std::function<void(COLORREF)> colourPicked;
  std::function<void()> pinnedChanged;
};

// The registered colour window; null when none is.
IColourWindow* ColourWindowPointer();
// Registers `window` (null: none) and returns the one registered before.
IColourWindow* SetColourWindowPointer(IColourWindow* window);
