#include "components/gdiplus_brush_pen.h"

#include <cstdio>

#include "framework/colorref.h"

namespace rg_Qurix_gdiplus {

QZU_IMPLEMENT_CLASS(rg_GPHuaShuaLei, CQzuObject, "rg_Qurix_gdiplus::rg_GPHuaShuaLei")
QZU_IMPLEMENT_CLASS(rg_GPChunSeHuaShuaLei, rg_GPHuaShuaLei, "rg_Qurix_gdiplus::rg_GPChunSeHuaShuaLei")
QZU_IMPLEMENT_CLASS(rg_GPHuaBiLei, CQzuObject, "rg_Qurix_gdiplus::rg_GPHuaBiLei")

rg_GPHuaShuaLei::rg_GPHuaShuaLei(const rg_GPHuaShuaLei& other) : CQzuObject() { CopyFrom(other); }

rg_GPHuaShuaLei& rg_GPHuaShuaLei::operator=(const rg_GPHuaShuaLei& other) {
  CopyFrom(other);
  return *this;
}

bool rg_GPHuaShuaLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const rg_GPHuaShuaLei&>(other).m_brush == m_brush;
}

int rg_GPHuaShuaLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_GPHuaShuaLei, source)
  m_brush.reset();
  // Cloning an empty brush fails as GDI+ does with a null handle.
  if (src.m_brush) {
    m_brush = std::make_unique<GpBrush>(*src.m_brush);
    m_status = kGpOk;
  } else {
    m_status = kGpInvalidParameter;
  }
  return 1;
}

void rg_GPHuaShuaLei::Reset() {
  CopyHeader(rg_GPHuaShuaLei());
  m_brush.reset();
  m_status = kGpOk;
}

CWString rg_GPHuaShuaLei::Dump() const {
  char text[80];
  std::snprintf(text, sizeof text, "%p, 类型: %d, 最后状态: %d ", static_cast<const void*>(m_brush.get()),
                m_brush ? m_brush->type : -1, m_status);
  return CWString(u"GP画刷类: ") + CWString::FromUtf8(text);
}

bool rg_GPHuaShuaLei::CreateSolidFill(uint32_t argb) {
  m_brush = std::make_unique<GpBrush>(GpBrush{kGpBrushSolidColour, QColorFromArgb(argb)});
  m_status = kGpOk;
  return true;
}

rg_GPHuaBiLei::rg_GPHuaBiLei(const rg_GPHuaBiLei& other) : CQzuObject() { CopyFrom(other); }

rg_GPHuaBiLei& rg_GPHuaBiLei::operator=(const rg_GPHuaBiLei& other) {
  CopyFrom(other);
  return *this;
}

bool rg_GPHuaBiLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const rg_GPHuaBiLei&>(other).m_pen == m_pen;
}

int rg_GPHuaBiLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_GPHuaBiLei, source)
  m_pen.reset();
  if (src.m_pen) {
    m_pen = std::make_unique<GpPen>(*src.m_pen);
    m_status = kGpOk;
  } else {
    m_status = kGpInvalidParameter;
  }
  return 1;
}

void rg_GPHuaBiLei::Reset() {
  CopyHeader(rg_GPHuaBiLei());
  m_pen.reset();
  m_status = kGpOk;
}

bool rg_GPHuaBiLei::CreatePen(uint32_t argb, double width) {
  m_pen.reset();
  const float w = static_cast<float>(width);
  if (!(w >= 0.0f)) {  // negative or not a number
    m_status = kGpInvalidParameter;
    return false;
  }
  m_pen = std::make_unique<GpPen>(GpPen{QColorFromArgb(argb), w});
  m_status = kGpOk;
  return true;
}

}  // namespace rg_Qurix_gdiplus
