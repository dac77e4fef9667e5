#include "components/drop_down_item.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

QZU_IMPLEMENT_CLASS(rg_TavelkinXiangMu, CQzuObject, "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinXiangMu")

bool rg_TavelkinXiangMu::IsEqual(const CQzuObject& other) const {
  if (!SameHeader(other)) return false;
  const auto& o = static_cast<const rg_TavelkinXiangMu&>(other);
  return text == o.text && number == o.number && iconIndex == o.iconIndex && value == o.value;
}

int rg_TavelkinXiangMu::CopyFrom(const CQzuObject& source) {
  if (!source.IsKindOf(StaticClassInfo())) return 0;
  if (&source == this) return 1;
  Clear();
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinXiangMu, source)
  text = src.text;
  number = src.number;
  iconIndex = src.iconIndex;
  value = src.value;
  return 1;
}

void rg_TavelkinXiangMu::Clear() {
  text.Empty();
  number = 0;
  iconIndex = 0;
  value = 0;
}

void rg_TavelkinXiangMu::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  s.WriteText(text);
  for (int32_t v : {number, iconIndex, value}) s.WriteInt32(v);
}

void rg_TavelkinXiangMu::LoadFromStream(CQzuStream& s) {
  CWString t;
  int32_t n = 0, icon = 0, v = 0;
  if (!s.ReadText(t) || !s.ReadInt32(n) || !s.ReadInt32(icon) || !s.ReadInt32(v)) return;
  text = t;
  number = n;
  iconIndex = icon;
  value = v;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
