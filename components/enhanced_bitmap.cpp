#include "components/enhanced_bitmap.h"

#include <QImage>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "common/little_endian.h"
#include "components/image_encoders.h"
#include "framework/image_decode.h"

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;
constexpr size_t kHeaderBytes = kFileHeaderBytes + kInfoHeaderBytes;

int32_t I32(const uint8_t* p) { return static_cast<int32_t>(LoadLittleEndian32(p)); }

}  // namespace

int CFBitMap::BitmapLoadBmp(const uint8_t* bytes, size_t count) {
  if (!bytes || count < kHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M') return 0;
  if (LoadLittleEndian32(bytes + 2) != count) return 0;
  const uint8_t* info = bytes + kFileHeaderBytes;
  if (LoadLittleEndian32(info) != kInfoHeaderBytes) return 0;
  const int bits = LoadLittleEndian16(info + 14);
  if (bits != 24 && bits != 32) return 0;
  // Every size and offset must stay inside the bytes given: a damaged or cut
  // file (from a damaged cache, say) is refused rather than read past.
  const int64_t width = I32(info + 4);
  const int64_t rows = std::llabs(static_cast<long long>(I32(info + 8)));
  if (width <= 0 || rows == 0) return 0;
  const int64_t stride = (bits * width + 31) / 32 * 4;
  if (stride > INT32_MAX) return 0;
  const uint64_t pixelOffset = LoadLittleEndian32(bytes + 10);
  if (pixelOffset < kHeaderBytes || pixelOffset > count) return 0;
  if (static_cast<uint64_t>(stride) * static_cast<uint64_t>(rows) > count - pixelOffset) return 0;

  // Copy before freeing: the bytes may be this bitmap's own.
  std::unique_ptr<uint8_t[]> copy(new (std::nothrow) uint8_t[count]);
  if (!copy) {
    FreeBitmapBuffer();
    return 0;
  }
  std::memcpy(copy.get(), bytes, count);
  m_fileBytes = std::move(copy);
  m_fileSize = static_cast<uint32_t>(count);
  m_fileHeader = m_fileBytes.get();
  m_infoHeader = m_fileHeader + kFileHeaderBytes;
  m_pixels = m_fileHeader + pixelOffset;
  m_rowStride = static_cast<int32_t>(stride);
  if (LoadLittleEndian32(m_infoHeader + 20) == 0)
    StoreLittleEndian32(m_infoHeader + 20, static_cast<uint32_t>(rows * stride));
  return 1;
}

int CFBitMap::BitmapLoadImage(const uint8_t* bytes, size_t count) {
  if (BitmapLoadBmp(bytes, count)) return 1;
  if (!bytes || count == 0 || count > static_cast<size_t>(INT_MAX)) return 0;
  const QImage decoded = DecodeImageBytes(bytes, count);
  if (decoded.isNull()) return 0;
  // Every decoded picture becomes 32 bits per pixel with its alpha, as a
  // device-independent section would hold it.
  const QImage rgba = decoded.convertToFormat(QImage::Format_RGBA8888);
  if (rgba.bytesPerLine() != static_cast<qsizetype>(rgba.width()) * 4) return 0;
  const CQzuMem bmp = EncodeBmp32Rgba(rgba.constBits(), rgba.width(), rgba.height());
  if (bmp.IsEmpty()) return 0;
  return BitmapLoadBmp(bmp.GetData(), bmp.GetSize());
}

int64_t CFBitMap::BitmapPixelAddress(int32_t x, int32_t y) const {
  const int64_t bytesPerPixel = BitsPerPixel() == 24 ? 3 : 4;
  const int64_t height = Height();
  const int64_t row = height < 0 ? y : height - y - 1;
  return row * m_rowStride + bytesPerPixel * x;
}

void CFBitMap::FreeBitmapBuffer() {
  m_fileBytes.reset();
  m_fileSize = 0;
  m_pixels = nullptr;
  m_fileHeader = nullptr;
  m_infoHeader = nullptr;
  m_rowStride = 0;
}

int32_t CFBitMap::Width() const { return m_infoHeader ? I32(m_infoHeader + 4) : 0; }
int32_t CFBitMap::Height() const { return m_infoHeader ? I32(m_infoHeader + 8) : 0; }
int32_t CFBitMap::BitsPerPixel() const { return m_infoHeader ? LoadLittleEndian16(m_infoHeader + 14) : 0; }

void BitmapAdjustBrightness(const CFBitMap& source, int32_t delta, CFBitMap& destination) {
  if (!destination.BitmapLoadImage(source.FileBytes(), source.FileSize())) return;
  if (delta > 255) delta = 255;
  if (delta < -255) delta = -255;
  const int32_t rows = std::abs(destination.Height());
  const int32_t columns = std::abs(destination.Width());
  uint8_t* pixels = destination.Pixels();
  for (int32_t y = 0; y < rows; ++y) {
    for (int32_t x = 0; x < columns; ++x) {
      uint8_t* px = pixels + destination.BitmapPixelAddress(x, y);
      for (int k = 0; k < 3; ++k) {
        const int v = px[k] + delta;
        px[k] = static_cast<uint8_t>(v >= 255 ? 255 : (v < 0 ? 0 : v));
      }
    }
  }
}

namespace {

// The picture of an accepted 32-bit BMP with its alpha (Qt's own BMP reader
// drops the fourth byte of a 40-byte-header file).
QImage ImageWithAlpha(const CFBitMap& bitmap) {
  const int32_t width = bitmap.Width();
  const int32_t rows = std::abs(bitmap.Height());
  QImage image(width, rows, QImage::Format_ARGB32);
  if (image.isNull()) return image;
  bool anyAlpha = false;
  for (int32_t y = 0; y < rows; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t* px = bitmap.Pixels() + bitmap.BitmapPixelAddress(x, y);
      line[x] = qRgba(px[2], px[1], px[0], px[3]);
      anyAlpha = anyAlpha || px[3] != 0;
    }
  }
  if (!anyAlpha) image = image.convertToFormat(QImage::Format_RGB32);
  return image;
}

}  // namespace

rg_Ombrine_base::rg_WeiTuDuiXiangLei BitmapFromBuffer(const CQzuMem& buffer) {
  rg_Ombrine_base::rg_WeiTuDuiXiangLei bitmap;
  if (buffer.IsEmpty()) return bitmap;
  CFBitMap bmp;
  if (bmp.BitmapLoadBmp(buffer.GetData(), buffer.GetSize()) && bmp.BitsPerPixel() == 32)
    bitmap.SetImage(ImageWithAlpha(bmp));
  else
    bitmap.LoadFromBytes(buffer);
  return bitmap;
}

namespace rg_Ombrine_windows_zjwtchl {

QZU_IMPLEMENT_CLASS(rg_ZengJiangWeiTuLei, CQzuObject, "rg_Ombrine_windows_zjwtchl::rg_ZengJiangWeiTuLei")

bool rg_ZengJiangWeiTuLei::IsEqual(const CQzuObject& other) const { return SameHeader(other); }

CQzuObject* rg_ZengJiangWeiTuLei::Clone() const {
  auto* copy = new rg_ZengJiangWeiTuLei();
  copy->CopyFrom(*this);
  return copy;
}

int rg_ZengJiangWeiTuLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_ZengJiangWeiTuLei, source)
  if (src.IsEmpty())
    FreeBitmapBuffer();
  else
    BitmapLoadBmp(src.FileBytes(), src.FileSize());
  return 1;
}

void rg_ZengJiangWeiTuLei::Reset() {
  CopyHeader(rg_ZengJiangWeiTuLei());
  FreeBitmapBuffer();
}

}  // namespace rg_Ombrine_windows_zjwtchl
