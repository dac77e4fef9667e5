#pragma once
// rg_WeiTuDuiXiangLei: the framework's bitmap object. It holds a decoded
// picture; copies share the pixels (Qt's images are shared until written),
// as copies of a bitmap share one handle. Pictures come from image file
// bytes (PNG, BMP, JPEG, SVG...) or from an image.
#include <QImage>

#include "common/mem.h"
#include "common/object.h"

namespace rg_Ombrine_base {

class rg_WeiTuDuiXiangLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_WeiTuDuiXiangLei)

 public:
  rg_WeiTuDuiXiangLei() = default;
  rg_WeiTuDuiXiangLei(const rg_WeiTuDuiXiangLei&) = default;
  rg_WeiTuDuiXiangLei& operator=(const rg_WeiTuDuiXiangLei&) = default;

  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override { m_image = QImage(); }
  // Stream form: the picture as PNG file bytes (count, bytes); none is 0 bytes.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // false, leaving the object empty, when the bytes are no picture.
  bool LoadFromBytes(const CQzuMem& bytes);
  bool LoadFromBytes(const void* data, size_t size);
  void SetImage(const QImage& image) { m_image = image; }
  const QImage& GetImage() const { return m_image; }
  bool IsEmpty() const { return m_image.isNull(); }
  int GetWidth() const { return m_image.width(); }
  int GetHeight() const { return m_image.height(); }
  CQzuMem ToPngBytes() const;

 private:
  QImage m_image;
};

}  // namespace rg_Ombrine_base
