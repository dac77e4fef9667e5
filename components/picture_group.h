#pragma once
// rg_TavelkinTuPianZu: a small list of pictures kept beside the SVG data each
// was rendered from. The drop-down list holds one for its handle icon and its
// item icons; an item names its picture by index, and the widest width and
// tallest height size the icon column. A plain object, not a window.
#include <cstdint>

#include "common/arrays.h"
#include "common/mem.h"
#include "common/object.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

// The drop-down handle icon, drawn when a group is given no SVG data.
inline constexpr int32_t kDropDownHandleIconId = 502;

class rg_TavelkinTuPianZu : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinTuPianZu)
 public:
  // An empty group with both sizes 0.
  rg_TavelkinTuPianZu() = default;
  rg_TavelkinTuPianZu(const rg_TavelkinTuPianZu& other);
  rg_TavelkinTuPianZu& operator=(const rg_TavelkinTuPianZu& other);

  // Same class, header, sizes, and then only the very same group: the arrays
  // are compared by identity.
  bool IsEqual(const CQzuObject& other) const override;
  CQzuObject* Clone() const override;
  // Refuses anything but a picture group; clears, then copies every member.
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  void Clear() override;
  // Widest, tallest, pictures, draw modes, sources.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Makes picture 0 from `svg` (RCDATA 502 when it is empty) at width x
  // height, times the DPI factor unless `noDpi` is set, through the icon
  // render cache as PNG; a zero side takes the other one. Returns 0, or -1
  // with nothing changed when both sides are 0. A failed render leaves an
  // empty picture of size 0 x 0.
  int SetPictureGroupSvgImage(const CQzuMem& svg, int32_t width, int32_t height, int32_t noDpi);
  int AddPictureGroupSvgImage(const CQzuMem& svg, int32_t width, int32_t height) {
    return SetPictureGroupSvgImage(svg, width, height, 0);
  }
  // Widest and tallest become the largest sizes among the pictures.
  void MeasurePictureGroup();

  int GetPictureCount() const { return pictures.GetCount(); }

  int32_t widest = 0;
  int32_t tallest = 0;
  // Per picture: the SVG data it came from (ByteBufferObject).
  CQzuObjectArray sources;
  // Per picture: the bitmap (rg_Ombrine_base::rg_WeiTuDuiXiangLei).
  CQzuObjectArray pictures;
  // Per picture: 0 or -1 draws it with its own alpha, any other value is a
  // COLORREF drawn as transparent.
  rg_Ombrine_base::rg_ZhengShuShuZuLei drawModes;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
