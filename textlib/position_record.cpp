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
  const auto mine = Members();
  const auto theirs = static_cast<const rg_TavelkinWeiZhiLei&>(other).Members();
  for (int i = 0; i < kMemberCount; ++i)
    if (*mine[i] != *theirs[i]) return false;
  return true;
}

int rg_TavelkinWeiZhiLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinWeiZhiLei, source)
  const auto mine = Members();
  const auto theirs = src.Members();
  for (int i = 0; i < kMemberCount; ++i) *mine[i] = *theirs[i];
  return 1;
}

void rg_TavelkinWeiZhiLei::Reset() {
  for (int32_t* member : Members()) *member = 0;
  mode = 1;
}

void rg_TavelkinWeiZhiLei::LoadFromStream(CQzuStream& stream) {
  for (int32_t* member : Members())
    if (!stream.ReadInt32(*member)) return;
}

void rg_TavelkinWeiZhiLei::SaveToStream(CQzuStream& stream) const {
  for (const int32_t* member : Members()) stream.WriteInt32(*member);
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
