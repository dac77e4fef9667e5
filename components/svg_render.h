#pragma once
// SVG rendering: SVG data in, an encoded raster picture out. The document is
// parsed with QtSvg, rendered at the requested pixel size over a background
// colour, and encoded as PNG, BMP or TGA. The package keeps one parsed
// document and one rendered bitmap in two process-wide objects, so it serves
// one render at a time, on the UI thread. Parsing and encoding happen in
// memory: nothing is written to the shared temporary folder.
#include <QImage>

#include <cstdint>
#include <memory>

#include "common/mem.h"
#include "common/object.h"

class QSvgRenderer;

namespace rg_Ombrine_Tosvard_SVGHuiZhiKu {

// Encoded picture formats.
enum : int32_t {
  kSvgFormatPng = 0,  // 8-bit RGBA PNG (also any value not listed here)
  kSvgFormatBmp = 1,  // 24-bit BMP, transparency blended over magenta
  kSvgFormatTga = 2,  // uncompressed 32-bit TGA
};

// The drawing object: the parsed document and the path of an SVG file to
// parse with LoadSvgFile. Copies carry the path only, never the document.
class rg_SVGHuiZhiLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_SVGHuiZhiLei)
 public:
  rg_SVGHuiZhiLei();
  rg_SVGHuiZhiLei(const rg_SVGHuiZhiLei& other);
  rg_SVGHuiZhiLei& operator=(const rg_SVGHuiZhiLei& other);
  ~rg_SVGHuiZhiLei() override;

  bool IsEqual(const CQzuObject& other) const override;
  CQzuObject* Clone() const override;
  // Copies the header and the path; the document this object holds stays.
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  bool HasDocument() const { return m_document != nullptr; }
  QSvgRenderer* Document() const { return m_document.get(); }
  void SetDocument(std::unique_ptr<QSvgRenderer> document);

  CWString path;

 private:
  std::unique_ptr<QSvgRenderer> m_document;
};

// The picture object: the last rendered bitmap, 8-bit RGBA with the alpha
// not premultiplied. Copies share the bitmap.
class rg_SVGTuPianLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_SVGTuPianLei)
 public:
  rg_SVGTuPianLei();
  bool IsEqual(const CQzuObject& other) const override;
  CQzuObject* Clone() const override;
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  // A picture has no stream form.
  void LoadFromStream(CQzuStream&) override {}
  void SaveToStream(CQzuStream&) const override {}

  const std::shared_ptr<const QImage>& Bitmap() const { return m_bitmap; }
  void SetBitmap(std::shared_ptr<const QImage> bitmap) { m_bitmap = std::move(bitmap); }

 private:
  std::shared_ptr<const QImage> m_bitmap;
};

// The two process-wide objects every operation below works on.
rg_SVGHuiZhiLei& SvgDrawingObject();
rg_SVGTuPianLei& SvgPictureObject();

// Renders `svg` at width x height over `background` (0xRRGGBBAA; for BMP a
// background of 0 means opaque white) and encodes it in `format`. Empty when
// the SVG does not parse; the picture object then keeps its last bitmap.
// A width or height of 0 follows the document's own size and aspect.
CQzuMem RenderSvgToImage(const CQzuMem& svg, int32_t width, int32_t height, uint32_t background, int32_t format);
// Parses `svg` into the drawing object's document; true when it parsed.
bool LoadSvgData(const CQzuMem& svg);
// Parses the file named by `drawing.path` into the drawing object's document.
bool LoadSvgFile(const rg_SVGHuiZhiLei& drawing);
// Writes the picture object's bitmap to `path` in `format`; true on success.
bool SaveSvgBitmapFile(const CWString& path, int32_t format);
// The picture object's bitmap encoded in `format`; empty without a bitmap.
CQzuMem EncodeSvgBitmap(int32_t format);

// How many renders have run in this process (each call of RenderSvgToImage
// whose SVG parsed): the icon cache's tests watch it to see hits skip work.
int SvgRenderCount();

}  // namespace rg_Ombrine_Tosvard_SVGHuiZhiKu
