#include "common/boxed.h"

namespace rg_Ombrine_base {

QZU_IMPLEMENT_CLASS(rg_ZhengShuLei, CQzuObject, "rg_Ombrine_base::rg_ZhengShuLei")

bool rg_ZhengShuLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const rg_ZhengShuLei&>(other).value == value;
}

int rg_ZhengShuLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_ZhengShuLei, source)
  value = src.value;
  return 1;
}

QZU_IMPLEMENT_CLASS(rg_LuoJiXingLei, CQzuObject, "rg_Ombrine_base::rg_LuoJiXingLei")

bool rg_LuoJiXingLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const rg_LuoJiXingLei&>(other).value == value;
}

int rg_LuoJiXingLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_LuoJiXingLei, source)
  value = src.value;
  return 1;
}

void rg_LuoJiXingLei::LoadFromStream(CQzuStream& s) {
  int32_t v;
  if (s.ReadInt32(v)) value = v != 0;
}

}  // namespace rg_Ombrine_base
