#pragma once
// rg_GPTuXiangLei: the GDI+-style image wrapper over a QImage. It owns one
// image (the native object), keeps the bytes of an image loaded from memory
// for the image's lifetime (shared with copies), and the status of its last
// failing or creating call. Copies duplicate the image.
#include <QByteArray>
#include <QImage>

#include <memory>

#include "common/mem.h"
#include "common/object.h"
#include "components/gdiplus_encoder_parameters.h"
#include "components/gdiplus_status.h"

namespace rg_Qurix_gdiplus {

class rg_GPTuXiangLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_GPTuXiangLei)
 public:
  rg_GPTuXiangLei() = default;
  rg_GPTuXiangLei(const rg_GPTuXiangLei& other);
  rg_GPTuXiangLei& operator=(const rg_GPTuXiangLei& other);
  ~rg_GPTuXiangLei() override { Dispose(); }

  // Same header and the very same image.
  bool IsEqual(const CQzuObject& other) const override;
  CQzuObject* Clone() const override { return new rg_GPTuXiangLei(*this); }
  // Disposes the held image, then duplicates the source's; a memory image
  // shares its bytes.
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  // "GP图像类: <image> ,最后状态: <status>"
  CWString Dump() const override;
  void LoadFromStream(CQzuStream&) override {}
  void SaveToStream(CQzuStream&) const override {}

  // Frees the image and the bytes behind it; the status becomes 0.
  virtual void Dispose();
  // Colour management is Qt's own either way; the flag is kept for callers.
  virtual bool LoadFromFile(const CWString& path, bool useColourManagement);
  virtual bool LoadFromMemory(const CQzuMem& bytes, bool useColourManagement);

  // Holds a new blank image of the given size, all transparent (for drawing).
  bool CreateBlank(int width, int height);

  QImage* Handle() const { return m_image.get(); }
  const std::shared_ptr<QImage>& SharedHandle() const { return m_image; }
  const std::shared_ptr<const QByteArray>& Stream() const { return m_stream; }
  int32_t LastStatus() const { return m_status; }
  void SetLastStatus(int32_t status) { m_status = status; }

 private:
  std::shared_ptr<QImage> m_image;
  std::shared_ptr<const QByteArray> m_stream;
  int32_t m_status = kGpOk;
};

// The image as BMP file bytes (32 bits per pixel, 40-byte info header), laid
// over a copy of the target's current bytes from its start; the target is
// then as large as the result. False when this or an earlier call of the
// wrapper failed. The encoder parameters, if any, are accepted and unused:
// the BMP encoder takes none.
bool SaveImageToMemory(rg_GPTuXiangLei& image, CQzuMem& target, int32_t unused,
                       const rg_GPBianMaQiCanShuJi* parameters);
// The CLSID of the BMP encoder among the image writers the system offers;
// the all-zero GUID when there is none.
QzuGuid FindBmpEncoder();

}  // namespace rg_Qurix_gdiplus
