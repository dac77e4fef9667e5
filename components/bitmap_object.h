#pragma once
// rg_WeiTuDuiXiangLei: a drawable picture as the window framework hands it
// out (the picture group and the owner-drawn button hold these). It holds a
// QImage; a picture that could not be made is empty, of size 0 x 0.
#include <QImage>

#include <cstdint>

#include "common/mem.h"
#include "common/object.h"

namespace rg_Ombrine_base {

class rg_WeiTuDuiXiangLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_WeiTuDuiXiangLei)
 public:
  rg_WeiTuDuiXiangLei() = default;
  explicit rg_WeiTuDuiXiangLei(QImage image) : m_image(std::move(image)) {}

  // Same header and the same pixels.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override { m_image = QImage(); }
  // Stream form: the picture as PNG bytes (4-byte count, then the bytes; 0
  // for an empty picture).
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  bool IsEmpty() const { return m_image.isNull(); }
  int32_t GetWidth() const { return m_image.width(); }
  int32_t GetHeight() const { return m_image.height(); }
  const QImage& GetImage() const { return m_image; }
  void SetImage(QImage image) { m_image = std::move(image); }

 private:
  QImage m_image;
};

}  // namespace rg_Ombrine_base

// The framework's bitmap-from-bytes: decodes any picture file Qt reads (PNG,
// BMP, ...); an empty picture when there are no bytes or they do not decode.
rg_Ombrine_base::rg_WeiTuDuiXiangLei BitmapFromBytes(const uint8_t* bytes, size_t count);
// The button's and the picture group's way from rendered bytes to a picture.
rg_Ombrine_base::rg_WeiTuDuiXiangLei BitmapFromBuffer(const CQzuMem& buffer);
