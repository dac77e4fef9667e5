#include "textlib/position_record.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinWeiZhiLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinWeiZhiLei")

std::array<int32_t*, 11> rg_TavelkinWeiZhiLei::Members() {
  return {&mode, &left, &top, &right, &bottom, &width, &height, &extra[0], &extra[1], &extra[2], &extra[3]};
}

std::array<const int32_t*, 11> rg_TavelkinWeiZhiLei::Members() const {
  return {&mode, &left, &top, &right, &bottom, &width, &height, &extra[0], &extra[1], &extra[2], &extra[3]};
}

bool rg_TavelkinWeiZhiLei::IsEqual(const CQzuObject& other) const {
  if (!SameHeader(other)) return false;
  const auto& o = static_cast<const rg_TavelkinWeiZhiLei&>(other);
  for (int i = 0; i < kMemberCount; ++i)
    if (*Members()[i] != *o.Members()[i]) return false;
  return true;
}

int rg_TavelkinWeiZhiLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinWeiZhiLei, source)
  for (int i = 0; i < kMemberCount; ++i) *Members()[i] = *src.Members()[i];
  return 1;
}

void rg_TavelkinWeiZhiLei::Reset() {
  mode = 1;
  for (int i = 1; i < kMemberCount; ++i) *Members()[i] = 0;
}

void rg_TavelkinWeiZhiLei::LoadFromStream(CQzuStream& stream) {
  for (int i = 0; i < kMemberCount; ++i)
    if (!stream.ReadInt32(*Members()[i])) return;
}

void rg_TavelkinWeiZhiLei::SaveToStream(CQzuStream& stream) const {
  for (int i = 0; i < kMemberCount; ++i) stream.WriteInt32(*Members()[i]);
}

void rg_TavelkinWeiZhiLei::SetSize(int32_t newWidth, int32_t newHeight) {
  width = newWidth;
  height = newHeight;
  if (mode != 0) {
    right = left + width - 1;
    bottom = top + height - 1;
  }
}

}  // namespace rg_Tavelkin_MingLingJi
