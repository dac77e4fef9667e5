#include "textlib/text_removal_pair.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinWenBenQuChanZiLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinWenBenQuChanZiLei")

int rg_TavelkinWenBenQuChanZiLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinWenBenQuChanZiLei, source)
  characters = src.characters;
  number = src.number;
  return 1;
}

void rg_TavelkinWenBenQuChanZiLei::Clear() {
  characters.Empty();
  number = 0;
}

void rg_TavelkinWenBenQuChanZiLei::LoadFromStream(CQzuStream& s) {
  characters.LoadFromStream(s);
  s.ReadInt32(number);
}

void rg_TavelkinWenBenQuChanZiLei::SaveToStream(CQzuStream& s) const {
  characters.SaveToStream(s);
  s.WriteInt32(number);
}

}  // namespace rg_Tavelkin_MingLingJi
