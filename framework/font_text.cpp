#include "framework/font_text.h"

#include <cmath>

#include "common/dpi.h"

QzuFontSpec ParseFontSpec(const CWString& description) {
  QzuFontSpec described;
  const std::vector<CWString> parts = description.Split(u",", true, false);
  if (!parts.empty() && !parts[0].IsEmpty()) described.face = parts[0];
  if (parts.size() > 1 && !parts[1].IsEmpty()) described.pointSize = static_cast<int>(parts[1].ToInt());
  if (parts.size() > 2) described.bold = parts[2].ToInt() != 0;
  if (parts.size() > 3) described.italic = parts[3].ToInt() != 0;
  if (parts.size() > 4) described.underline = parts[4].ToInt() != 0;
  if (parts.size() > 5) described.strikeout = parts[5].ToInt() != 0;
  if (parts.size() > 6) described.angle = static_cast<int>(parts[6].ToInt());
  if (described.pointSize <= 0) described.pointSize = 9;
  return described;
}

int FontPixelSize(int pointSize) {
  const double px = pointSize * 96.0 * GetDpiFactor() / 72.0;
  const int rounded = static_cast<int>(std::lround(px));
  return rounded < 1 ? 1 : rounded;
}

QFont QFontFromSpec(const QzuFontSpec& described) {
  QFont font = DefaultControlFont();
  if (!described.face.IsEmpty()) font.setFamily(QString::fromUtf16(described.face.GetBuffer(), described.face.Length()));
  font.setPixelSize(FontPixelSize(described.pointSize));
  font.setBold(described.bold);
  font.setItalic(described.italic);
  font.setUnderline(described.underline);
  font.setStrikeOut(described.strikeout);
  return font;
}

QFont QFontFromDescription(const CWString& description) { return QFontFromSpec(ParseFontSpec(description)); }

QFont DefaultControlFont() {
  QFont font(QStringLiteral("Microsoft YaHei"));
  font.setPixelSize(FontPixelSize(9));
  return font;
}
