#pragma once
// rg_GPTuXingLei: the GDI+-style graphics wrapper: antialiased drawing with
// ARGB colours and real coordinates on an image, a drawing device's image or
// a painter control's canvas. It keeps the status of its last failing or
// creating call. Copies carry the header words only, never the surface.
#include <QImage>

#include <memory>

#include "common/object.h"
#include "components/gdiplus_brush_pen.h"
#include "components/gdiplus_image.h"

class CQzuDC;
namespace rg_Ombrine_MFCJieMian_base {
class rg_painter;
}

namespace rg_Qurix_gdiplus {

// The surface a graphics draws on; an image wrapper's image stays alive while
// a graphics made on it exists.
struct GpGraphics {
  QImage* target = nullptr;
  std::shared_ptr<QImage> keepAlive;
  int32_t smoothing = kGpSmoothingDefault;
};

class rg_GPTuXingLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_GPTuXingLei)
 public:
  rg_GPTuXingLei() = default;
  rg_GPTuXingLei(const rg_GPTuXingLei& other) : CQzuObject(other) {}
  rg_GPTuXingLei& operator=(const rg_GPTuXingLei& other);
  ~rg_GPTuXingLei() override { Delete(); }

  bool IsEqual(const CQzuObject& other) const override;
  CQzuObject* Clone() const override { return new rg_GPTuXingLei(*this); }
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  // "GP图形类: <graphics> ,最后状态: <status>"
  CWString Dump() const override;
  void LoadFromStream(CQzuStream&) override {}
  void SaveToStream(CQzuStream&) const override {}

  virtual void Delete();
  virtual void Close() { Delete(); }
  // On the device's image (the device handle of GDI+ has no use here).
  virtual bool FromDC(CQzuDC* dc, intptr_t device);
  // On a painter control's canvas image.
  virtual bool FromWindow(rg_Ombrine_MFCJieMian_base::rg_painter* window, bool useColourManagement);
  // On the wrapper's image; without an image: true, status 0, no graphics.
  virtual bool FromImage(const rg_GPTuXiangLei& image);

  // Each returns false and keeps the status on failure; success leaves the
  // last status as it was.
  bool SetSmoothingMode(int32_t mode);
  bool Clear(uint32_t argb);
  bool FillEllipse(const rg_GPHuaShuaLei& brush, double x, double y, double width, double height);
  bool DrawEllipse(const rg_GPHuaBiLei& pen, double x, double y, double width, double height);

  const GpGraphics* Handle() const { return m_graphics.get(); }
  int32_t LastStatus() const { return m_status; }

 private:
  bool Fail(int32_t status) {
    m_status = status;
    return false;
  }
  bool Usable() const { return m_graphics && m_graphics->target && !m_graphics->target->isNull(); }
  bool Attach(QImage* target, std::shared_ptr<QImage> keepAlive);

  std::unique_ptr<GpGraphics> m_graphics;
  int32_t m_status = kGpOk;
};

}  // namespace rg_Qurix_gdiplus
