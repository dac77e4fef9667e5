#include "framework/font_text.h"

#include <cmath>

#include "common/dpi.h"

QzuFontSpec ParseFontSpec(const CWString& description) {
  QzuFontSpec spec;
  const std::vector<CWString> parts = description.Split(u",", true, false);
  if (!parts.empty() && !parts[0].IsEmpty()) spec.face = parts[0];
  if (parts.size() > 1 && !parts[1].IsEmpty()) spec.pointSize = static_cast<int>(parts[1].ToInt());
  if (parts.size() > 2) spec.bold = parts[2].ToInt() != 0;
  if (parts.size() > 3) spec.italic = parts[3].ToInt() != 0;
  if (parts.size() > 4) spec.underline = parts[4].ToInt() != 0;
  if (parts.size() > 5) spec.strikeout = parts[5].ToInt() != 0;
  if (parts.size() > 6) spec.angle = static_cast<int>(parts[6].ToInt());
  if (spec.pointSize <= 0) spec.pointSize = 9;
  return spec;
}

int FontPixelSize(int pointSize) {
  const double px = pointSize * 96.0 * GetDpiFactor() / 72.0;
  const int rounded = static_cast<int>(std::lround(px));
  return rounded < 1 ? 1 : rounded;
}

QFont QFontFromSpec(const QzuFontSpec& spec) {
  QFont font = DefaultControlFont();
  if (!spec.face.IsEmpty()) font.setFamily(QString::fromUtf16(spec.face.GetBuffer(), spec.face.Length()));
  font.setPixelSize(FontPixelSize(spec.pointSize));
  font.setBold(spec.bold);
  font.setItalic(spec.italic);
  font.setUnderline(spec.underline);
  font.setStrikeOut(spec.strikeout);
  return font;
}

QFont QFontFromDescription(const CWString& description) { return QFontFromSpec(ParseFontSpec(description)); }

QFont DefaultControlFont() {
  QFont font(QStringLiteral("Microsoft YaHei"));
  font.setPixelSize(FontPixelSize(9));
  return font;
}
