#include "components/gdiplus_image.h"

#include <QFile>
#include <QImageWriter>

#include <climits>
#include <cstdio>
#include <cstring>

#include "components/image_encoders.h"
#include "framework/image_decode.h"

namespace rg_Qurix_gdiplus {

QZU_IMPLEMENT_CLASS(rg_GPTuXiangLei, CQzuObject, "rg_Qurix_gdiplus::rg_GPTuXiangLei")

rg_GPTuXiangLei::rg_GPTuXiangLei(const rg_GPTuXiangLei& other) : CQzuObject() { CopyFrom(other); }

rg_GPTuXiangLei& rg_GPTuXiangLei::operator=(const rg_GPTuXiangLei& other) {
  CopyFrom(other);
  return *this;
}

bool rg_GPTuXiangLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const rg_GPTuXiangLei&>(other).m_image == m_image;
}

int rg_GPTuXiangLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_GPTuXiangLei, source)
  Dispose();
  CopyHeader(src);
  if (src.m_image) {
    auto copy = std::make_shared<QImage>(src.m_image->copy());
    if (copy->isNull() && !src.m_image->isNull()) {
      m_status = kGpOutOfMemory;
      return 1;
    }
    m_image = std::move(copy);
    m_stream = src.m_stream;
  }
  m_status = src.m_status;
  return 1;
}

void rg_GPTuXiangLei::Reset() {
  Dispose();
  CopyHeader(rg_GPTuXiangLei());
}

CWString rg_GPTuXiangLei::Dump() const {
  char text[64];
  std::snprintf(text, sizeof text, "%p ,最后状态: %d", static_cast<const void*>(m_image.get()), m_status);
  return CWString(u"GP图像类: ") + CWString::FromUtf8(text);
}

void rg_GPTuXiangLei::Dispose() {
  m_image.reset();
  m_stream.reset();
  m_status = kGpOk;
}

bool rg_GPTuXiangLei::LoadFromFile(const CWString& path, bool) {
  Dispose();
  QFile file(QString::fromUtf8(path.ToUtf8()));
  if (path.IsEmpty() || !file.exists()) {
    m_status = kGpFileNotFound;
    return false;
  }
  QImage image(file.fileName());
  if (image.isNull()) {
    m_status = kGpUnknownImageFormat;
    return false;
  }
  m_image = std::make_shared<QImage>(image.convertToFormat(QImage::Format_ARGB32));
  m_status = kGpOk;
  return true;
}

bool rg_GPTuXiangLei::LoadFromMemory(const CQzuMem& bytes, bool) {
  Dispose();
  if (bytes.GetSize() > static_cast<size_t>(INT_MAX)) {
    m_status = kGpOutOfMemory;
    return false;
  }
  // The image keeps its own copy of the bytes for as long as it lives.
  auto stream = std::make_shared<const QByteArray>(reinterpret_cast<const char*>(bytes.GetData()),
                                                   static_cast<qsizetype>(bytes.GetSize()));
  const QImage image = DecodeImageBytes(stream->constData(), static_cast<size_t>(stream->size()));
  if (image.isNull()) {
    m_status = kGpUnknownImageFormat;
    return false;
  }
  m_image = std::make_shared<QImage>(image.convertToFormat(QImage::Format_ARGB32));
  m_stream = std::move(stream);
  m_status = kGpOk;
  return true;
}

bool rg_GPTuXiangLei::CreateBlank(int width, int height) {
  Dispose();
  auto image = std::make_shared<QImage>(width, height, QImage::Format_ARGB32);
  if (width <= 0 || height <= 0 || image->isNull()) {
    m_status = width <= 0 || height <= 0 ? kGpInvalidParameter : kGpOutOfMemory;
    return false;
  }
  image->fill(Qt::transparent);
  m_image = std::move(image);
  return true;
}

bool SaveImageToMemory(rg_GPTuXiangLei& image, CQzuMem& target, int32_t, const rg_GPBianMaQiCanShuJi*) {
  CQzuMem bmp;
  if (!image.Handle() || image.Handle()->isNull()) {
    image.SetLastStatus(kGpInvalidParameter);
  } else {
    const QImage rgba = image.Handle()->convertToFormat(QImage::Format_RGBA8888);
    bmp = EncodeBmp32Rgba(rgba.constBits(), rgba.width(), rgba.height());
    if (bmp.IsEmpty()) image.SetLastStatus(kGpOutOfMemory);
  }
  // Written over the stream made from the target's bytes, from its start.
  if (!bmp.IsEmpty()) {
    if (target.GetSize() < bmp.GetSize()) target.SetSize(bmp.GetSize());
    std::memcpy(target.GetData(), bmp.GetData(), bmp.GetSize());
  }
  return image.LastStatus() == kGpOk;
}

QzuGuid FindBmpEncoder() {
  for (const QByteArray& format : QImageWriter::supportedImageFormats())
    if (format.compare("bmp", Qt::CaseInsensitive) == 0) return kBmpEncoderClsid;
  return QzuGuid();
}

}  // namespace rg_Qurix_gdiplus
