#include "common/int_text_map.h"

namespace rg_Ombrine_base {

QZU_IMPLEMENT_CLASS(rg_ZhengShuDaoWenBenMoXuHaXiBiao, CQzuObject, "rg_Ombrine_base::rg_ZhengShuDaoWenBenMoXuHaXiBiao")

bool rg_ZhengShuDaoWenBenMoXuHaXiBiao::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const rg_ZhengShuDaoWenBenMoXuHaXiBiao&>(other).entries == entries;
}

int rg_ZhengShuDaoWenBenMoXuHaXiBiao::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_ZhengShuDaoWenBenMoXuHaXiBiao, source)
  entries = src.entries;
  return 1;
}

CWString rg_ZhengShuDaoWenBenMoXuHaXiBiao::Get(int32_t key) const {
  const auto it = entries.find(key);
  return it == entries.end() ? CWString() : it->second;
}

void rg_ZhengShuDaoWenBenMoXuHaXiBiao::SaveToStream(CQzuStream& stream) const {
  if (!stream.Ok()) return;
  stream.WriteUInt32(static_cast<uint32_t>(entries.size()));
  for (const auto& [key, text] : entries) {
    stream.WriteInt32(key);
    stream.WriteText(text);
  }
}

void rg_ZhengShuDaoWenBenMoXuHaXiBiao::LoadFromStream(CQzuStream& stream) {
  uint32_t count = 0;
  if (!stream.ReadUInt32(count)) return;
  std::map<int32_t, CWString> loaded;
  for (uint32_t i = 0; i < count; ++i) {
    int32_t key = 0;
    CWString text;
    if (!stream.ReadInt32(key) || !stream.ReadText(text)) return;
    loaded[key] = text;
  }
  entries = std::move(loaded);
}

}  // namespace rg_Ombrine_base
