#include "components/gdiplus_graphics.h"

#include <QPainter>

#include <cstdio>

#include "framework/drawing_dc.h"
#include "framework/colorref.h"
#include "framework/painter.h"

namespace rg_Qurix_gdiplus {

namespace {

bool Smooth(int32_t mode) { return mode == kGpSmoothingHighQuality || mode == kGpSmoothingAntiAlias; }

}  // namespace

QZU_IMPLEMENT_CLASS(rg_GPTuXingLei, CQzuObject, "rg_Qurix_gdiplus::rg_GPTuXingLei")

rg_GPTuXingLei& rg_GPTuXingLei::operator=(const rg_GPTuXingLei& other) {
  CopyFrom(other);
  return *this;
}

bool rg_GPTuXingLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const rg_GPTuXingLei&>(other).m_graphics == m_graphics;
}

int rg_GPTuXingLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_GPTuXingLei, source)
  (void)src;
  return 1;
}

void rg_GPTuXingLei::Reset() {
  Delete();
  CopyHeader(rg_GPTuXingLei());
}

CWString rg_GPTuXingLei::Dump() const {
  char text[64];
  std::snprintf(text, sizeof text, "%p ,最后状态: %d", static_cast<const void*>(m_graphics.get()), m_status);
  return CWString(u"GP图形类: ") + CWString::FromUtf8(text);
}

void rg_GPTuXingLei::Delete() {
  m_graphics.reset();
  m_status = kGpOk;
}

bool rg_GPTuXingLei::Attach(QImage* target, std::shared_ptr<QImage> keepAlive) {
  if (!target || target->isNull()) return Fail(kGpInvalidParameter);
  m_graphics = std::make_unique<GpGraphics>();
  m_graphics->target = target;
  m_graphics->keepAlive = std::move(keepAlive);
  m_status = kGpOk;
  return true;
}

bool rg_GPTuXingLei::FromDC(CQzuDC* dc, intptr_t) {
  Delete();
  return Attach(dc ? dc->Target() : nullptr, nullptr);
}

bool rg_GPTuXingLei::FromWindow(rg_Ombrine_MFCJieMian_base::rg_painter* window, bool) {
  Delete();
  return Attach(window ? window->GetDC().Target() : nullptr, nullptr);
}

bool rg_GPTuXingLei::FromImage(const rg_GPTuXiangLei& image) {
  Delete();
  if (!image.Handle()) return true;
  return Attach(image.Handle(), image.SharedHandle());
}

bool rg_GPTuXingLei::SetSmoothingMode(int32_t mode) {
  if (!m_graphics) return Fail(kGpInvalidParameter);
  if (mode < kGpSmoothingDefault || mode > kGpSmoothingAntiAlias + 1) return Fail(kGpInvalidParameter);
  m_graphics->smoothing = mode;
  return true;
}

bool rg_GPTuXingLei::Clear(uint32_t argb) {
  if (!Usable()) return Fail(kGpInvalidParameter);
  QPainter painter(m_graphics->target);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(m_graphics->target->rect(), QColorFromArgb(argb));
  return true;
}

bool rg_GPTuXingLei::FillEllipse(const rg_GPHuaShuaLei& brush, double x, double y, double width, double height) {
  if (!Usable() || !brush.Handle()) return Fail(kGpInvalidParameter);
  QPainter painter(m_graphics->target);
  painter.setRenderHint(QPainter::Antialiasing, Smooth(m_graphics->smoothing));
  painter.setPen(Qt::NoPen);
  painter.setBrush(brush.Handle()->colour);
  painter.drawEllipse(QRectF(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                             static_cast<float>(height)));
  return true;
}

bool rg_GPTuXingLei::DrawEllipse(const rg_GPHuaBiLei& pen, double x, double y, double width, double height) {
  if (!Usable() || !pen.Handle()) return Fail(kGpInvalidParameter);
  QPainter painter(m_graphics->target);
  painter.setRenderHint(QPainter::Antialiasing, Smooth(m_graphics->smoothing));
  QPen qpen(pen.Handle()->colour);
  qpen.setWidthF(pen.Handle()->width);
  painter.setPen(qpen);
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(QRectF(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                             static_cast<float>(height)));
  return true;
}

}  // namespace rg_Qurix_gdiplus
