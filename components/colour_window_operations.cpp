#include "components/colour_window_operations.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include "components/colour_arithmetic.h"
#include "framework/colorref.h"
#include "framework/message_pump.h"
#include "platform/ticks.h"

namespace {

constexpr COLORREF kWhiteColour = 0xFFFFFF;
constexpr COLORREF kButtonFaceStandIn = 0xFF000000u;

}  // namespace

QPoint ColourWindowPosition(const QzuRect& anchor, int width, int height, int screenWidth, int screenHeight) {
  int y = anchor.top > screenHeight - anchor.bottom ? anchor.top - height : anchor.bottom;
  int x = anchor.right > screenWidth - anchor.left ? anchor.right - width : anchor.left;
  x = std::max(0, std::min(x, screenWidth - width));
  y = std::max(0, std::min(y, screenHeight - height));
  return QPoint(x, y);
}

void UpdateColourWindow(IColourWindow& window, COLORREF colour, int kind) {
  // Every kind fills every display: the one kind callers pass.
  (void)kind;
  if (window.updating) return;
  window.updating = true;
  if (colour == kColourFromHsl) {
    colour = HslToRgb(window.hue, window.saturation, window.lightness);
  } else {
    if (colour == kNoColourChosen) colour = kWhiteColour;
    else if (colour == kButtonFaceStandIn) colour = kButtonFaceColour;
    const rg_Ombrine_base::rg_ZhengShuShuZuLei hsl = RgbToHsl(colour);
    window.hue = hsl[0];
    window.saturation = hsl[1];
    window.lightness = hsl[2];
  }
  colour &= 0xFFFFFF;
  const int32_t red = static_cast<int32_t>(colour & 0xFF);
  const int32_t green = static_cast<int32_t>((colour >> 8) & 0xFF);
  const int32_t blue = static_cast<int32_t>((colour >> 16) & 0xFF);
  window.SetColourDisplay(kColourDecimal, CWString::FromInt((red << 16) | (green << 8) | blue));
  window.SetColourDisplay(kColourHex, ColourToHexText(colour));
  window.SetColourDisplay(kColourRed, CWString::FromInt(red));
  window.SetColourDisplay(kColourGreen, CWString::FromInt(green));
  window.SetColourDisplay(kColourBlue, CWString::FromInt(blue));
  window.SetColourDisplay(kColourHue, CWString::FromInt(window.hue));
  window.SetColourDisplay(kColourSaturation, CWString::FromInt(window.saturation));
  window.SetColourDisplay(kColourLightness, CWString::FromInt(window.lightness));
  window.SetColourSwatches(colour, DerivedColour(window.hue, window.saturation, window.lightness));
  window.updating = false;
}

void DrawColourCaption(IColourWindow& window) {
  CWString caption(kColourCaption);
  caption += window.pinned ? kColourCaptionPinned : kColourCaptionUnpinned;
  if (window.saturationSetting != kFullSaturationSetting)
    caption += CWString(kColourCaptionSaturation) + CWString::FromInt(window.saturationSetting);
  window.SetColourWindowCaption(caption);
}

COLORREF PlaceColourWindow(const CQzuWinControl& anchor, COLORREF colour) {
  IColourWindow* window = ColourWindowPointer();
  if (!window || !window->RecreateColourWindow()) return kNoColourChosen;
  const QSize size = window->ColourWindowSize();
  const rg_Ombrine_base::rg_ZhengShuShuZuLei hsl = RgbToHsl(colour);
  window->hue = hsl[0];
  window->saturation = hsl[1];
  window->lightness = hsl[2];
  QzuRect place{0, 0, 0, 0};
  anchor.GetWindowRect(place.left, place.top, place.right, place.bottom);
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize screenSize = screen ? screen->geometry().size() : QSize();
  const QPoint at = ColourWindowPosition(place, size.width(), size.height(), screenSize.width(), screenSize.height());
  window->MoveColourWindow(at.x(), at.y());
  window->colourPicked = [window](COLORREF picked) { UpdateColourWindow(*window, picked, kUpdateEveryColourDisplay); };
  window->pinnedChanged = [window] { DrawColourCaption(*window); };
  UpdateColourWindow(*window, colour, kUpdateEveryColourDisplay);
  DrawColourCaption(*window);
  window->ShowColourWindow();
  while (window->ColourWindowExists()) {
    QtPumpPendingMessages();
    SleepMilliseconds(kColourWindowWaitMilliseconds);
  }
  window->colourPicked = nullptr;
  window->pinnedChanged = nullptr;
  return window->resultColour;
}
