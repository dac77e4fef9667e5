#include "components/svg_render.h"

#include <QByteArray>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

#include "components/image_encoders.h"
#include "platform/whole_file_read.h"
#include "textlib/file_write.h"

namespace rg_Ombrine_Tosvard_SVGHuiZhiKu {

namespace {

int g_renderCount = 0;

// A parsed document, or null when the data is not a usable SVG.
std::unique_ptr<QSvgRenderer> ParseSvg(const QByteArray& data) {
  if (data.isEmpty()) return nullptr;
  auto document = std::make_unique<QSvgRenderer>(data);
  if (!document->isValid()) return nullptr;
  return document;
}

// The pixel size of a render: a zero side follows the document's own size,
// keeping its aspect ratio when the other side is given.
QSize RenderSize(const QSvgRenderer& document, int32_t width, int32_t height) {
  const QRectF box = document.viewBoxF();
  QSizeF own = document.defaultSize();
  if (own.isEmpty()) own = box.size();
  if (width == 0 && height == 0) return QSize(static_cast<int>(std::ceil(own.width())), static_cast<int>(std::ceil(own.height())));
  if (width == 0 && own.height() > 0) width = static_cast<int32_t>(std::ceil(height * own.width() / own.height()));
  if (height == 0 && own.width() > 0) height = static_cast<int32_t>(std::ceil(width * own.height() / own.width()));
  return QSize(width, height);
}

}  // namespace

QZU_IMPLEMENT_CLASS(rg_SVGHuiZhiLei, CQzuObject, "rg_Ombrine_Tosvard_SVGHuiZhiKu::rg_SVGHuiZhiLei")

rg_SVGHuiZhiLei::rg_SVGHuiZhiLei() = default;
rg_SVGHuiZhiLei::rg_SVGHuiZhiLei(const rg_SVGHuiZhiLei& other) : CQzuObject(other), path(other.path) {}
rg_SVGHuiZhiLei& rg_SVGHuiZhiLei::operator=(const rg_SVGHuiZhiLei& other) {
  CopyFrom(other);
  return *this;
}
rg_SVGHuiZhiLei::~rg_SVGHuiZhiLei() = default;

bool rg_SVGHuiZhiLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const rg_SVGHuiZhiLei&>(other).path == path;
}

CQzuObject* rg_SVGHuiZhiLei::Clone() const { return new rg_SVGHuiZhiLei(*this); }

int rg_SVGHuiZhiLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_SVGHuiZhiLei, source)
  path = src.path;
  return 1;
}

void rg_SVGHuiZhiLei::Reset() {
  CopyHeader(rg_SVGHuiZhiLei());
  path.Empty();
}

void rg_SVGHuiZhiLei::LoadFromStream(CQzuStream& stream) {
  if (stream.Ok()) stream.ReadText(path);
}

void rg_SVGHuiZhiLei::SaveToStream(CQzuStream& stream) const {
  if (stream.Ok()) stream.WriteText(path);
}

void rg_SVGHuiZhiLei::SetDocument(std::unique_ptr<QSvgRenderer> document) { m_document = std::move(document); }

QZU_IMPLEMENT_CLASS(rg_SVGTuPianLei, CQzuObject, "rg_Ombrine_Tosvard_SVGHuiZhiKu::rg_SVGTuPianLei")

rg_SVGTuPianLei::rg_SVGTuPianLei() = default;

bool rg_SVGTuPianLei::IsEqual(const CQzuObject& other) const { return SameHeader(other); }

CQzuObject* rg_SVGTuPianLei::Clone() const { return new rg_SVGTuPianLei(*this); }

int rg_SVGTuPianLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_SVGTuPianLei, source)
  m_bitmap = src.m_bitmap;
  return 1;
}

void rg_SVGTuPianLei::Reset() {
  CopyHeader(rg_SVGTuPianLei());
  m_bitmap.reset();
}

rg_SVGHuiZhiLei& SvgDrawingObject() {
  static rg_SVGHuiZhiLei drawing;
  return drawing;
}

rg_SVGTuPianLei& SvgPictureObject() {
  static rg_SVGTuPianLei picture;
  return picture;
}

bool LoadSvgData(const CQzuMem& svg) {
  const QByteArray data(reinterpret_cast<const char*>(svg.GetData()), static_cast<qsizetype>(svg.GetSize()));
  SvgDrawingObject().SetDocument(ParseSvg(data));
  return SvgDrawingObject().HasDocument();
}

bool LoadSvgFile(const rg_SVGHuiZhiLei& drawing) {
  CQzuMem svg;
  if (!drawing.path.IsEmpty()) ReadWholeFile(drawing.path, svg);  // an unreadable file parses as no document
  return LoadSvgData(svg);
}

CQzuMem RenderSvgToImage(const CQzuMem& svg, int32_t width, int32_t height, uint32_t background, int32_t format) {
  if (!LoadSvgData(svg)) return CQzuMem();
  ++g_renderCount;
  // A BMP keeps no alpha: without a background it is drawn over opaque white.
  if (format == kSvgFormatBmp && background == 0) background = 0xFFFFFFFFu;
  QSvgRenderer& document = *SvgDrawingObject().Document();
  const QSize size = RenderSize(document, width, height);
  auto bitmap = std::make_shared<QImage>();
  if (size.width() > 0 && size.height() > 0) {
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    if (!canvas.isNull()) {
      // The background colour is read as 0xRRGGBBAA.
      canvas.fill(QColor(static_cast<int>(background >> 24), static_cast<int>((background >> 16) & 0xFF),
                         static_cast<int>((background >> 8) & 0xFF), static_cast<int>(background & 0xFF)));
      {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        document.render(&painter, QRectF(0, 0, size.width(), size.height()));
      }
      // Red, green, blue, alpha bytes with the premultiplication undone.
      *bitmap = canvas.convertToFormat(QImage::Format_RGBA8888);
    }
  }
  SvgPictureObject().SetBitmap(std::move(bitmap));
  return EncodeSvgBitmap(format);
}

CQzuMem EncodeSvgBitmap(int32_t format) {
  const std::shared_ptr<const QImage>& bitmap = SvgPictureObject().Bitmap();
  if (!bitmap || bitmap->isNull()) return CQzuMem();
  // The encoders want tightly packed rows; QImage rows are 4-byte aligned,
  // which at 4 bytes per pixel is the same.
  const uint8_t* rgba = bitmap->constBits();
  const int w = bitmap->width();
  const int h = bitmap->height();
  switch (format) {
    case kSvgFormatBmp: return EncodeBmp24OverMagenta(rgba, w, h);
    case kSvgFormatTga: return EncodeTgaRgba(rgba, w, h);
    default: return EncodePngRgba(rgba, w, h);
  }
}

bool SaveSvgBitmapFile(const CWString& path, int32_t format) {
  const CQzuMem bytes = EncodeSvgBitmap(format);
  if (bytes.IsEmpty()) return false;
  return WriteFileBytes(path, bytes) == 1;
}

int SvgRenderCount() { return g_renderCount; }

}  // namespace rg_Ombrine_Tosvard_SVGHuiZhiKu
