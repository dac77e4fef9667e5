#pragma once
// Fonts of the controls are given as font description texts: face, size in
// points, bold, italic, underline, strikeout and angle in tenths of a degree,
// joined by ", " ("微软雅黑, 11, 0, 0, 0, 0, 0").
#include <QFont>

#include "common/wstring.h"

struct QzuFontSpec {
  CWString face;
  int pointSize = 9;
  bool bold = false, italic = false, underline = false, strikeout = false;
  int angle = 0;
};

// Missing fields keep their defaults; an empty text gives the defaults.
QzuFontSpec ParseFontSpec(const CWString& description);
// Pixel height of a point size at the program's DPI factor (96 DPI times the
// factor), rounded: Qt's own scaling is off, so the program scales once.
int FontPixelSize(int pointSize);
QFont QFontFromSpec(const QzuFontSpec& described);
QFont QFontFromDescription(const CWString& description);
// The font every control gets when none is given.
QFont DefaultControlFont();
