#include "services/font_description.h"


namespace rg_Tavelkin_MingLingJi {

int TextToBool(const CWString& text) {
  const CWString t = text.Trimmed();
  return (t == u"真" || t.EqualsIgnoreAsciiCase(u"true") || t == u"1") ? 1 : 0;
}

QZU_IMPLEMENT_CLASS(rg_TavelkinZiTiLei1, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinZiTiLei1")

void rg_TavelkinZiTiLei1::ParseFontText(const CWString& text) {
  std::vector<CWString> pieces = text.Split(u",", true, false);
  pieces.resize(7);
  face = pieces[0];
  size = pieces[1].ToInt32();
  bold = TextToBool(pieces[2]);
  italic = TextToBool(pieces[3]);
  underline = TextToBool(pieces[4]);
  strikeout = TextToBool(pieces[5]);
  angle = pieces[6].ToInt32();
}

CWString rg_TavelkinZiTiLei1::FormatFontText() const {
  auto flag = [](int32_t v) { return CWString(v ? u"1" : u"0"); };
  return face + u", " + CWString::FromInt(size) + u", " + flag(bold) + u", " + flag(italic) + u", " +
         flag(underline) + u", " + flag(strikeout) + u", " + CWString::FromInt(angle);
}

bool rg_TavelkinZiTiLei1::IsEqual(const CQzuObject& other) const {
  if (!SameHeader(other)) return false;
  const auto& o = static_cast<const rg_TavelkinZiTiLei1&>(other);
  return face == o.face && size == o.size && bold == o.bold && italic == o.italic && underline == o.underline &&
         strikeout == o.strikeout && angle == o.angle && extra == o.extra;
}

int rg_TavelkinZiTiLei1::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinZiTiLei1, source)
  face = src.face;
  size = src.size;
  bold = src.bold;
  italic = src.italic;
  underline = src.underline;
  strikeout = src.strikeout;
  angle = src.angle;
  extra = src.extra;
  return 1;
}

void rg_TavelkinZiTiLei1::SaveToStream(CQzuStream& s) const {
  s.WriteText(face);
  for (int32_t v : {size, bold, italic, underline, strikeout, angle, extra}) s.WriteInt32(v);
}

void rg_TavelkinZiTiLei1::LoadFromStream(CQzuStream& s) {
  s.ReadText(face);
  for (int32_t* v : {&size, &bold, &italic, &underline, &strikeout, &angle, &extra}) s.ReadInt32(*v);
}

}  // namespace rg_Tavelkin_MingLingJi
