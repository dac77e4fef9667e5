#include "components/bitmap_object.h"

#include <QBuffer>
#include <QByteArray>

#include <climits>

namespace rg_Ombrine_base {

QZU_IMPLEMENT_CLASS(rg_WeiTuDuiXiangLei, CQzuObject, "rg_Ombrine_base::rg_WeiTuDuiXiangLei")

bool rg_WeiTuDuiXiangLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const rg_WeiTuDuiXiangLei&>(other).m_image == m_image;
}

int rg_WeiTuDuiXiangLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_WeiTuDuiXiangLei, source)
  m_image = src.m_image;
  return 1;
}

void rg_WeiTuDuiXiangLei::SaveToStream(CQzuStream& stream) const {
  if (!stream.Ok()) return;
  QByteArray png;
  if (!m_image.isNull()) {
    QBuffer device(&png);
    device.open(QIODevice::WriteOnly);
    m_image.save(&device, "PNG");
  }
  stream.WriteMem(CQzuMem(png.constData(), static_cast<size_t>(png.size())));
}

void rg_WeiTuDuiXiangLei::LoadFromStream(CQzuStream& stream) {
  CQzuMem png;
  if (!stream.ReadMem(png)) return;
  m_image = BitmapFromBuffer(png).GetImage();
}

}  // namespace rg_Ombrine_base

rg_Ombrine_base::rg_WeiTuDuiXiangLei BitmapFromBytes(const uint8_t* bytes, size_t count) {
  if (!bytes || count == 0 || count > static_cast<size_t>(INT_MAX)) return {};
  return rg_Ombrine_base::rg_WeiTuDuiXiangLei(QImage::fromData(bytes, static_cast<int>(count)));
}

rg_Ombrine_base::rg_WeiTuDuiXiangLei BitmapFromBuffer(const CQzuMem& buffer) {
  return BitmapFromBytes(buffer.GetData(), buffer.GetSize());
}
