#pragma once
// The enhanced bitmap: an owned copy of a BMP file with direct access to its
// pixels. The owner-drawn button loads one per picture it paints and derives
// the brighter or darker hover picture from it.
//
// Accepted files: "BM", the file-size field equal to the byte count, a 40-byte
// info header, 24 or 32 bits per pixel, and every offset and size inside the
// bytes given (pixel rows included), so that pixel access never leaves the
// copy. Anything else is refused and the picture held before stays.
#include <cstdint>
#include <memory>

#include "common/mem.h"
#include "common/object.h"
#include "framework/bitmap_object.h"

// The pixel part, without the object model.
class CFBitMap {
 public:
  CFBitMap() = default;
  CFBitMap(const CFBitMap&) = delete;
  CFBitMap& operator=(const CFBitMap&) = delete;
  ~CFBitMap() = default;

  // 1 after replacing the picture with a copy of the BMP file; 0 on refusal.
  // When the copy's image-size field is 0 it is filled in as |height| x stride.
  int BitmapLoadBmp(const uint8_t* bytes, size_t count);
  // BitmapLoadBmp, or any picture Qt decodes, held as a 32-bit BMP.
  int BitmapLoadImage(const uint8_t* bytes, size_t count);
  // Offset of pixel (x, y) from the first pixel row: rows bottom-up for a
  // positive height, top-down for a negative one; 3 bytes per pixel at 24
  // bits, else 4. The coordinates are not checked: keep them in the picture.
  int64_t BitmapPixelAddress(int32_t x, int32_t y) const;
  // Frees the copy; the bitmap is empty afterwards.
  void FreeBitmapBuffer();

  bool IsEmpty() const { return !m_fileBytes; }
  const uint8_t* FileBytes() const { return m_fileBytes.get(); }
  uint32_t FileSize() const { return m_fileSize; }
  uint8_t* Pixels() const { return m_pixels; }
  const uint8_t* FileHeader() const { return m_fileHeader; }
  const uint8_t* InfoHeader() const { return m_infoHeader; }
  int32_t RowStride() const { return m_rowStride; }
  // Read from the info header; 0 when empty.
  int32_t Width() const;
  int32_t Height() const;
  int32_t BitsPerPixel() const;

 private:
  std::unique_ptr<uint8_t[]> m_fileBytes;
  uint32_t m_fileSize = 0;
  uint8_t* m_pixels = nullptr;
  uint8_t* m_fileHeader = nullptr;
  uint8_t* m_infoHeader = nullptr;
  int32_t m_rowStride = 0;
};

// Releases the pixel part of a bitmap whose picture is no longer needed (the
// button does so once its hover picture is built).
inline void DestroyEnhancedBitmap(CFBitMap& bitmap) { bitmap.FreeBitmapBuffer(); }

// The destination becomes a copy of the source with delta (clamped to
// -255..255) added to each pixel's blue, green and red byte, each saturating
// at 0 and 255; a fourth byte is left alone. Nothing happens when the source
// holds no picture.
void BitmapAdjustBrightness(const CFBitMap& source, int32_t delta, CFBitMap& destination);

// The drawable bitmap made from picture bytes (BMP, PNG or any format Qt
// reads); empty when the buffer is empty or holds no picture. A 32-bit BMP
// keeps its fourth byte as alpha, unless every pixel's is 0 (an opaque
// picture written without alpha): this is how the button's derived hover
// pictures and round check glyphs keep their transparency.
rg_Ombrine_base::rg_WeiTuDuiXiangLei BitmapFromBuffer(const CQzuMem& buffer);

namespace rg_Ombrine_windows_zjwtchl {

class rg_ZengJiangWeiTuLei : public CQzuObject, public CFBitMap {
  QZU_DECLARE_CLASS(rg_ZengJiangWeiTuLei)
 public:
  rg_ZengJiangWeiTuLei() = default;

  // Class, null flag and header word only: the pixels take no part.
  bool IsEqual(const CQzuObject& other) const override;
  CQzuObject* Clone() const override;
  // The header words, then the file bytes (none when the source has none).
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  void LoadFromStream(CQzuStream&) override {}
  void SaveToStream(CQzuStream&) const override {}
};

}  // namespace rg_Ombrine_windows_zjwtchl
