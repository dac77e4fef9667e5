#include "framework/ui_font.h"

#include <QFont>
#include <QFontDatabase>
#include <QPainterPath>
#include <QRawFont>
#include <QStringList>

namespace {

// Faces known to draw the whole sample come first; the rest of the CJK
// families follow in the font database's order.
const char* const kPreferredFamilies[] = {"Noto Sans CJK SC", "Source Han Sans SC", "Noto Sans SC",
                                          "WenQuanYi Micro Hei"};

QStringList CandidateFamilies() {
  const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  QStringList candidates;
  for (const char* name : kPreferredFamilies) {
    const QString preferred = QString::fromLatin1(name);
    for (const QString& f : chinese)
      if (f.compare(preferred, Qt::CaseInsensitive) == 0 && !candidates.contains(f)) candidates << f;
  }
  for (const QString& f : chinese)
    if (!candidates.contains(f)) candidates << f;
  return candidates;
}

}  // namespace

QString UiFontSample() {
  return QString::fromUtf8(
      "中國ĀāÁáǍǎÀàĒēÉéĚěÈèĪīÍíǏǐÌìŌōÓóǑǒÒòŪūÚúǓǔÙùǕǖǗǘǙǚǛǜÜü"
      "ΑαΩωЖжЯя©®×÷§¶°±€™←↑→↓↔⇔∀∂∃∅∈∑√∞∩∪≈≠≡≤≥♠♣♥♦"
      "ＡＺａｚ０９！？，（）");
}

bool FamilyDrawsText(const QString& family, const QString& text) {
  if (!QFontDatabase::families().contains(family)) return false;
  QFont font(family);
  font.setPixelSize(32);
  font.setStyleStrategy(QFont::NoFontMerging);
  const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::Any);
  if (!raw.isValid() || raw.familyName().compare(family, Qt::CaseInsensitive) != 0) return false;
  const QList<quint32> glyphs = raw.glyphIndexesForString(text);
  for (int i = 0; i < text.size() && i < glyphs.size(); ++i) {
    if (text[i].isSpace()) continue;
    if (glyphs[i] == 0 || raw.pathForGlyph(glyphs[i]).isEmpty()) return false;
  }
  return glyphs.size() >= text.size();
}

QString InstallUiFontSubstitution() {
  const QStringList candidates = CandidateFamilies();
  if (candidates.isEmpty()) return QString();
  const QString sample = UiFontSample();
  QString chosen = candidates.front();
  for (const QString& f : candidates)
    if (FamilyDrawsText(f, sample)) {
      chosen = f;
      break;
    }
  QFont::removeSubstitutions(QStringLiteral("微软雅黑"));
  QFont::removeSubstitutions(QStringLiteral("Microsoft YaHei"));
  QFont::insertSubstitutions(QStringLiteral("微软雅黑"), {chosen});
  QFont::insertSubstitutions(QStringLiteral("Microsoft YaHei"), {chosen});
  return chosen;
}
