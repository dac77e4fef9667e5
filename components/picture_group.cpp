#include "components/picture_group.h"

#include <algorithm>

#include "framework/bitmap_object.h"
#include "components/byte_buffer_object.h"
#include "components/icon_render_cache.h"
#include "components/svg_render.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

using rg_Ombrine_base::rg_WeiTuDuiXiangLei;

QZU_IMPLEMENT_CLASS(rg_TavelkinTuPianZu, CQzuObject, "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinTuPianZu")

rg_TavelkinTuPianZu::rg_TavelkinTuPianZu(const rg_TavelkinTuPianZu& other) : CQzuObject() { CopyFrom(other); }

rg_TavelkinTuPianZu& rg_TavelkinTuPianZu::operator=(const rg_TavelkinTuPianZu& other) {
  CopyFrom(other);
  return *this;
}

bool rg_TavelkinTuPianZu::IsEqual(const CQzuObject& other) const {
  if (!SameHeader(other)) return false;
  const auto& group = static_cast<const rg_TavelkinTuPianZu&>(other);
  return group.widest == widest && group.tallest == tallest && &group == this;
}

CQzuObject* rg_TavelkinTuPianZu::Clone() const { return new rg_TavelkinTuPianZu(*this); }

int rg_TavelkinTuPianZu::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinTuPianZu, source)
  const rg_TavelkinTuPianZu& from = src;  // copied before Clear touches anything
  rg_TavelkinTuPianZu kept;
  kept.widest = from.widest;
  kept.tallest = from.tallest;
  kept.pictures = from.pictures;
  kept.drawModes = from.drawModes;
  kept.sources = from.sources;
  Clear();
  widest = kept.widest;
  tallest = kept.tallest;
  pictures = std::move(kept.pictures);
  drawModes = std::move(kept.drawModes);
  sources = std::move(kept.sources);
  return 1;
}

void rg_TavelkinTuPianZu::Reset() {
  Clear();
  CopyHeader(rg_TavelkinTuPianZu());
}

void rg_TavelkinTuPianZu::Clear() {
  widest = 0;
  tallest = 0;
  sources.Empty();
  pictures.Empty();
  drawModes.Empty();
}

void rg_TavelkinTuPianZu::LoadFromStream(CQzuStream& stream) {
  stream.ReadInt32(widest);
  stream.ReadInt32(tallest);
  pictures.LoadFromStream(stream);
  drawModes.LoadFromStream(stream);
  sources.LoadFromStream(stream);
}

void rg_TavelkinTuPianZu::SaveToStream(CQzuStream& stream) const {
  if (!stream.Ok()) return;
  stream.WriteInt32(widest);
  stream.WriteInt32(tallest);
  pictures.SaveToStream(stream);
  drawModes.SaveToStream(stream);
  sources.SaveToStream(stream);
}

int rg_TavelkinTuPianZu::SetPictureGroupSvgImage(const CQzuMem& svg, int32_t width, int32_t height,
                                                 int32_t noDpi) {
  if (width == 0 && height == 0) return -1;
  if (width == 0) width = height;
  if (height == 0) height = width;
  // An empty picture when nothing could be drawn.
  const rg_WeiTuDuiXiangLei bitmap = LoadSvgIconBitmap(kDropDownHandleIconId, svg, width, height,
                                                       rg_Ombrine_Tosvard_SVGHuiZhiKu::kSvgFormatPng, noDpi, 0);
  if (pictures.GetCount() == 0) {
    pictures.Add(new rg_WeiTuDuiXiangLei());
    drawModes.Add(0);
    sources.Add(new ByteBufferObject());
  }
  // The three arrays run in parallel; a group loaded from a stream may not.
  while (drawModes.GetCount() < pictures.GetCount()) drawModes.Add(0);
  while (sources.GetCount() < pictures.GetCount()) sources.Add(new ByteBufferObject());
  if (pictures[0]) pictures[0]->CopyFrom(bitmap);
  drawModes[0] = 0;
  if (sources[0]) sources[0]->CopyFrom(ByteBufferObject(svg));
  MeasurePictureGroup();
  return 0;
}

void rg_TavelkinTuPianZu::MeasurePictureGroup() {
  widest = 0;
  tallest = 0;
  for (int i = 0; i < pictures.GetCount(); ++i) {
    const auto* picture = dynamic_cast<const rg_WeiTuDuiXiangLei*>(pictures[i]);
    if (!picture) continue;
    widest = std::max(widest, picture->GetWidth());
    tallest = std::max(tallest, picture->GetHeight());
  }
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
