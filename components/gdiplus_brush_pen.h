#pragma once
// The brush, solid brush and pen wrappers of the GDI+-style layer. Each owns
// one native object (a colour, and a width for the pen), duplicated on copy,
// and keeps the status of its last failing or creating call.
#include <QColor>

#include <memory>

#include "common/object.h"
#include "components/gdiplus_status.h"

namespace rg_Qurix_gdiplus {

// Brush types, with their GDI+ values.
enum GpBrushType : int32_t { kGpBrushSolidColour = 0 };

struct GpBrush {
  int32_t type = kGpBrushSolidColour;
  QColor colour;
};

struct GpPen {
  QColor colour;
  float width = 1.0f;
};

class rg_GPHuaShuaLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_GPHuaShuaLei)
 public:
  rg_GPHuaShuaLei() = default;
  rg_GPHuaShuaLei(const rg_GPHuaShuaLei& other);
  rg_GPHuaShuaLei& operator=(const rg_GPHuaShuaLei& other);

  bool IsEqual(const CQzuObject& other) const override;
  CQzuObject* Clone() const override { return new rg_GPHuaShuaLei(*this); }
  // Deletes the held brush and clones the source's.
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  // "GP画刷类: <brush>, 类型: <type or -1>, 最后状态: <status> "
  CWString Dump() const override;
  void LoadFromStream(CQzuStream&) override {}
  void SaveToStream(CQzuStream&) const override {}

  // A solid brush of the ARGB colour (0xAARRGGBB).
  bool CreateSolidFill(uint32_t argb);

  const GpBrush* Handle() const { return m_brush.get(); }
  int32_t LastStatus() const { return m_status; }

 private:
  std::unique_ptr<GpBrush> m_brush;
  int32_t m_status = kGpOk;
};

class rg_GPChunSeHuaShuaLei : public rg_GPHuaShuaLei {
  QZU_DECLARE_CLASS(rg_GPChunSeHuaShuaLei)
 public:
  CQzuObject* Clone() const override {
    auto* copy = new rg_GPChunSeHuaShuaLei();
    copy->CopyFrom(*this);
    return copy;
  }
};

class rg_GPHuaBiLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_GPHuaBiLei)
 public:
  rg_GPHuaBiLei() = default;
  rg_GPHuaBiLei(const rg_GPHuaBiLei& other);
  rg_GPHuaBiLei& operator=(const rg_GPHuaBiLei& other);

  bool IsEqual(const CQzuObject& other) const override;
  CQzuObject* Clone() const override { return new rg_GPHuaBiLei(*this); }
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  void LoadFromStream(CQzuStream&) override {}
  void SaveToStream(CQzuStream&) const override {}

  // A pen of the ARGB colour and width (world units, single precision).
  bool CreatePen(uint32_t argb, double width);

  const GpPen* Handle() const { return m_pen.get(); }
  int32_t LastStatus() const { return m_status; }

 private:
  std::unique_ptr<GpPen> m_pen;
  int32_t m_status = kGpOk;
};

}  // namespace rg_Qurix_gdiplus
