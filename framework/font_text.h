#pragma once
// Fonts of the controls are given as font description texts: face, size in
// points, bold, italic, underline, strikeout and angle in tenths of a degree,
// joined by ", " ("微软雅黑, 11, 0, 0, 0, 0, 0"). This is the framework's
// reading of such a text, the one every control's font goes through:
// - the text is split at "," and each piece trimmed of units 0 to 32; only the
//   first seven pieces count, and a missing piece keeps the default font's
//   attribute (DefaultControlFont: "Microsoft YaHei", 9 points, regular);
// - face: a non-empty piece, cut to its first 31 code units;
// - size: the character height is |size| points at the program's vertical
//   DPI (96 times the DPI factor), rounded half up; a height of 0 (size 0,
//   or no digits) keeps the default height;
// - bold (weight 700, else 400), italic, underline, strikeout: each set
//   exactly when its own piece is "1", cleared by any other present piece;
// - angle: a non-empty piece, as a decimal number (saturating at the 32-bit
//   limits), modulo 3600 and made non-negative, is both the escapement and
//   the orientation, counter-clockwise in tenths of a degree.
// QFont has no angle: the record keeps it, and the drawing device turns the
// text it writes with TextOut by it.
#include <QFont>

#include "common/wstring.h"

struct QzuFontFields {
  CWString face;          // empty: the default face
  int pixelHeight = 0;    // character height in pixels; 0: the default height
  int pointSize = 9;      // |size| when it gave a height, else the default's 9
  bool bold = false, italic = false, underline = false, strikeout = false;
  int escapement = 0;     // 0..3599 tenths of a degree
  int orientation = 0;
};

// The longest face name a font takes, in code units.
inline constexpr size_t kFontFaceMaxUnits = 31;
// Heights beyond this are taken as this (a font nobody draws with, which
// would only exhaust the rasteriser).
inline constexpr int kFontPixelHeightLimit = 32767;

QzuFontFields ReadFontFields(const CWString& description);
// Pixel height of a point size at the program's DPI factor (96 times the
// factor), rounded half up; at least 1.
int FontPixelSize(int pointSize);
QFont QFontFromFields(const QzuFontFields& described);
QFont QFontFromDescription(const CWString& description);
// The font every control gets when none is given.
QFont DefaultControlFont();
