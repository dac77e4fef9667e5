#pragma once
// COLORREF (0x00BBGGRR) is the colour type of every interface; Qt wants
// QColor. These two are the only place the byte order is spelled out.
#include <QColor>

#include "framework/win_defs.h"

inline QColor QColorFromRef(COLORREF c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}
inline COLORREF RefFromQColor(const QColor& c) {
  return static_cast<COLORREF>(c.red()) | (static_cast<COLORREF>(c.green()) << 8) |
         (static_cast<COLORREF>(c.blue()) << 16);
}
// ARGB 0xAARRGGBB (as GDI+ writes colours) to QColor.
inline QColor QColorFromArgb(uint32_t argb) {
  return QColor(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                static_cast<int>(argb & 0xFF), static_cast<int>(argb >> 24));
}
// The system button face; controls resolve the colour -1 to it.
constexpr COLORREF kButtonFaceColour = 0xF0F0F0;
