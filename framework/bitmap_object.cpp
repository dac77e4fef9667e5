#include "framework/bitmap_object.h"

#include <QBuffer>

#include "framework/image_decode.h"

namespace rg_Ombrine_base {

QZU_IMPLEMENT_CLASS(rg_WeiTuDuiXiangLei, CQzuObject, "rg_Ombrine_base::rg_WeiTuDuiXiangLei")

bool rg_WeiTuDuiXiangLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && m_image == static_cast<const rg_WeiTuDuiXiangLei&>(other).m_image;
}

int rg_WeiTuDuiXiangLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_WeiTuDuiXiangLei, source)
  m_image = src.m_image;
  return 1;
}

bool rg_WeiTuDuiXiangLei::LoadFromBytes(const void* data, size_t size) {
  m_image = QImage();
  if (!data || size == 0 || size > 0x7FFFFFFF) return false;
  m_image = DecodeImageBytes(data, size);
  return !m_image.isNull();
}

bool rg_WeiTuDuiXiangLei::LoadFromBytes(const CQzuMem& bytes) { return LoadFromBytes(bytes.GetData(), bytes.GetSize()); }

CQzuMem rg_WeiTuDuiXiangLei::ToPngBytes() const {
  if (m_image.isNull()) return CQzuMem();
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!m_image.save(&buffer, "PNG")) return CQzuMem();
  return CQzuMem(png.constData(), static_cast<size_t>(png.size()));
}

void rg_WeiTuDuiXiangLei::SaveToStream(CQzuStream& s) const { s.WriteMem(ToPngBytes()); }

void rg_WeiTuDuiXiangLei::LoadFromStream(CQzuStream& s) {
  CQzuMem bytes;
  if (!s.ReadMem(bytes)) return;
  if (bytes.IsEmpty()) m_image = QImage();
  else LoadFromBytes(bytes);
}

}  // namespace rg_Ombrine_base
