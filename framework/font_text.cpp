#include "framework/font_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "common/dpi.h"
#include "common/utf.h"

namespace {

constexpr int kDefaultPointSize = 9;
constexpr int kAngleTurn = 3600;

// Points to pixels at 96 DPI times the factor, rounded half up, saturating
// at the height limit. `points` is not negative.
long long PixelsOfPoints(long long points) {
  const double px = std::floor(static_cast<double>(points) * 96.0 * GetDpiFactor() / 72.0 + 0.5);
  return px > kFontPixelHeightLimit ? kFontPixelHeightLimit : static_cast<long long>(px);
}

}  // namespace

QzuFontFields ReadFontFields(const CWString& description) {
  QzuFontFields described;
  std::vector<CWString> parts = description.Split(u",", true, false);
  if (parts.size() > 7) parts.resize(7);
  if (!parts.empty() && !parts[0].IsEmpty()) {
    const CWString& face = parts[0];
    size_t units = kFontFaceMaxUnits;
    // A cut between the two halves of a surrogate pair leaves a lone half:
    // cut before the pair instead.
    if (face.GetLength() > units && qzu::IsHighSurrogate(face[units - 1]) && qzu::IsLowSurrogate(face[units])) --units;
    described.face = face.Left(static_cast<int>(units));
  }
  if (parts.size() > 1) {
    const long long points = std::llabs(static_cast<long long>(parts[1].ToInt32()));
    const long long height = PixelsOfPoints(points);
    if (height > 0) {
      described.pixelHeight = static_cast<int>(height);
      // |-2147483648| has no 32-bit value: it stays at the largest one.
      described.pointSize = static_cast<int>(std::min<long long>(points, std::numeric_limits<int>::max()));
    }
  }
  bool* const flags[] = {&described.bold, &described.italic, &described.underline, &described.strikeout};
  for (size_t i = 0; i < 4; ++i)
    if (parts.size() > 2 + i) *flags[i] = parts[2 + i] == u"1";
  if (parts.size() > 6 && !parts[6].IsEmpty()) {
    int angle = parts[6].ToInt32() % kAngleTurn;
    if (angle < 0) angle += kAngleTurn;
    described.escapement = described.orientation = angle;
  }
  return described;
}

int FontPixelSize(int pointSize) {
  const long long rounded = PixelsOfPoints(std::llabs(static_cast<long long>(pointSize)));
  return rounded < 1 ? 1 : static_cast<int>(rounded);
}

QFont QFontFromFields(const QzuFontFields& described) {
  QFont font = DefaultControlFont();
  if (!described.face.IsEmpty()) font.setFamily(QString::fromUtf16(described.face.GetBuffer(), described.face.Length()));
  if (described.pixelHeight > 0) font.setPixelSize(described.pixelHeight);
  font.setWeight(described.bold ? QFont::Bold : QFont::Normal);
  font.setItalic(described.italic);
  font.setUnderline(described.underline);
  font.setStrikeOut(described.strikeout);
  return font;
}

QFont QFontFromDescription(const CWString& description) { return QFontFromFields(ReadFontFields(description)); }

QFont DefaultControlFont() {
  QFont font(QStringLiteral("Microsoft YaHei"));
  font.setPixelSize(FontPixelSize(kDefaultPointSize));
  return font;
}
