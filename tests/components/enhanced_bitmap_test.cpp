// The enhanced bitmap: which BMP files it takes, pixel addressing, the
// brightness copy, loading other picture formats, and the object operations.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "components/enhanced_bitmap.h"
#include "common/boxed.h"
#include "components/image_encoders.h"

using rg_Ombrine_windows_zjwtchl::rg_ZengJiangWeiTuLei;

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

// A BMP file with a 40-byte info header and an image-size field of 0; the
// pixel bytes count up from 1 so that offsets can be told apart.
std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, uint16_t bits) {
  const uint32_t stride = (bits * static_cast<uint32_t>(width) + 31) / 32 * 4;
  const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
  std::vector<uint8_t> b(54 + stride * rows);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, 54);
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(width));
  Put32(b, 22, static_cast<uint32_t>(height));
  Put16(b, 26, 1);
  Put16(b, 28, bits);
  for (size_t i = 54; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i - 53);
  return b;
}

TEST(EnhancedBitmap, DamagedOrUnsupportedFilesAreRefusedAndThePictureStays) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  auto add = [&](const char* what, auto change) {
    std::vector<uint8_t> b = MakeBmp(3, 2, 24);
    change(b);
    cases.push_back({what, b});
  };
  add("wrong magic", [](auto& b) { b[1] = 'N'; });
  add("file size field too large", [](auto& b) { Put32(b, 2, static_cast<uint32_t>(b.size() + 1)); });
  add("file size field too small", [](auto& b) { Put32(b, 2, static_cast<uint32_t>(b.size() - 1)); });
  add("8 bits per pixel", [](auto& b) { Put16(b, 28, 8); });
  add("16 bits per pixel", [](auto& b) { Put16(b, 28, 16); });
  add("108-byte info header", [](auto& b) { Put32(b, 14, 108); });
  add("truncated pixels", [](auto& b) {
    b.resize(b.size() - 12);  // one row of two is missing; the size field agrees
    Put32(b, 2, static_cast<uint32_t>(b.size()));
  });
  add("rows claimed beyond the data", [](auto& b) { Put32(b, 22, 3); });
  add("width beyond the data", [](auto& b) { Put32(b, 18, 0x40000000); });
  add("pixel offset past the end", [](auto& b) { Put32(b, 10, 0xFFFFFF00); });
  add("pixel offset inside the headers", [](auto& b) { Put32(b, 10, 20); });
  add("zero width", [](auto& b) { Put32(b, 18, 0); });
  add("negative width", [](auto& b) { Put32(b, 18, static_cast<uint32_t>(-3)); });
  add("zero height", [](auto& b) { Put32(b, 22, 0); });
  add("most negative height", [](auto& b) { Put32(b, 22, 0x80000000u); });
  add("headers cut short", [](auto& b) {
    b.resize(40);
    Put32(b, 2, 40);
  });

  CFBitMap bitmap;
  const std::vector<uint8_t> good = MakeBmp(1, 1, 32);
  ASSERT_EQ(bitmap.BitmapLoadBmp(good.data(), good.size()), 1);
  const uint8_t* held = bitmap.FileBytes();
  for (const Case& c : cases) {
    EXPECT_EQ(bitmap.BitmapLoadBmp(c.bytes.data(), c.bytes.size()), 0) << c.what;
    EXPECT_EQ(bitmap.FileBytes(), held) << c.what;
    EXPECT_EQ(bitmap.FileSize(), good.size()) << c.what;
  }
  EXPECT_EQ(bitmap.BitmapLoadBmp(nullptr, 100), 0);
  EXPECT_EQ(bitmap.BitmapLoadBmp(good.data(), 0), 0);
  EXPECT_EQ(bitmap.FileBytes(), held);
}

TEST(EnhancedBitmap, LoadingSetsStrideHeadersAndTheImageSize) {
  const std::vector<uint8_t> file = MakeBmp(3, 2, 24);
  CFBitMap bitmap;
  ASSERT_EQ(bitmap.BitmapLoadBmp(file.data(), file.size()), 1);
  EXPECT_EQ(bitmap.RowStride(), 12);
  EXPECT_EQ(bitmap.FileSize(), file.size());
  EXPECT_EQ(bitmap.FileHeader(), bitmap.FileBytes());
  EXPECT_EQ(bitmap.InfoHeader(), bitmap.FileBytes() + 14);
  EXPECT_EQ(bitmap.Pixels(), bitmap.FileBytes() + 54);
  // The copy's image-size field is filled in; the caller's bytes are not touched.
  uint32_t imageSize;
  std::memcpy(&imageSize, bitmap.FileBytes() + 34, 4);
  EXPECT_EQ(imageSize, 24u);
  EXPECT_EQ(file[34], 0);
  // Bottom-up: pixel (1, 0) of a 2-row picture lies in the second stored row.
  EXPECT_EQ(bitmap.BitmapPixelAddress(1, 0), 15);
  EXPECT_EQ(bitmap.BitmapPixelAddress(0, 1), 0);

  const std::vector<uint8_t> topDown = MakeBmp(5, -2, 32);
  ASSERT_EQ(bitmap.BitmapLoadBmp(topDown.data(), topDown.size()), 1);
  EXPECT_EQ(bitmap.RowStride(), 20);
  EXPECT_EQ(bitmap.BitmapPixelAddress(2, 1), 28);

  // Loading from the bitmap's own bytes replaces it with the same picture.
  ASSERT_EQ(bitmap.BitmapLoadBmp(bitmap.FileBytes(), bitmap.FileSize()), 1);
  EXPECT_EQ(0, std::memcmp(bitmap.Pixels(), topDown.data() + 54, 40));
}

TEST(EnhancedBitmap, BrightnessSaturatesAtBothEnds) {
  std::vector<uint8_t> file = MakeBmp(2, 1, 24);
  const uint8_t row[] = {250, 10, 0, 225, 128, 255, 0, 0};
  std::memcpy(file.data() + 54, row, sizeof row);
  CFBitMap source;
  ASSERT_EQ(source.BitmapLoadBmp(file.data(), file.size()), 1);

  CFBitMap brighter;
  BitmapAdjustBrightness(source, 30, brighter);
  const uint8_t up[] = {255, 40, 30, 255, 158, 255};
  EXPECT_EQ(0, std::memcmp(brighter.Pixels(), up, sizeof up));
  EXPECT_EQ(0, std::memcmp(source.Pixels(), row, 6));  // the source stays

  CFBitMap dark;
  BitmapAdjustBrightness(source, -300, dark);  // acts as -255
  const uint8_t zero[6] = {};
  EXPECT_EQ(0, std::memcmp(dark.Pixels(), zero, sizeof zero));
  CFBitMap light;
  BitmapAdjustBrightness(source, 1000, light);
  const uint8_t full[6] = {255, 255, 255, 255, 255, 255};
  EXPECT_EQ(0, std::memcmp(light.Pixels(), full, sizeof full));

  // 32 bits: the fourth byte is not a colour.
  std::vector<uint8_t> file32 = MakeBmp(1, 1, 32);
  const uint8_t px[] = {100, 200, 250, 77};
  std::memcpy(file32.data() + 54, px, 4);
  CFBitMap s32, d32;
  ASSERT_EQ(s32.BitmapLoadBmp(file32.data(), file32.size()), 1);
  BitmapAdjustBrightness(s32, -120, d32);
  const uint8_t expected[] = {0, 80, 130, 77};
  EXPECT_EQ(0, std::memcmp(d32.Pixels(), expected, 4));

  // An empty source changes nothing.
  CFBitMap empty;
  BitmapAdjustBrightness(empty, 10, d32);
  EXPECT_EQ(0, std::memcmp(d32.Pixels(), expected, 4));
  // Source and destination may be the same bitmap.
  BitmapAdjustBrightness(d32, 10, d32);
  const uint8_t again[] = {10, 90, 140, 77};
  EXPECT_EQ(0, std::memcmp(d32.Pixels(), again, 4));
}

TEST(EnhancedBitmap, OtherPictureFormatsLoadAs32Bits) {
  const uint8_t rgba[] = {10, 20, 30, 255, 40, 50, 60, 128};
  const CQzuMem png = EncodePngRgba(rgba, 2, 1);
  CFBitMap bitmap;
  EXPECT_EQ(bitmap.BitmapLoadBmp(png.GetData(), png.GetSize()), 0);
  ASSERT_EQ(bitmap.BitmapLoadImage(png.GetData(), png.GetSize()), 1);
  EXPECT_EQ(bitmap.BitsPerPixel(), 32);
  EXPECT_EQ(bitmap.Width(), 2);
  const uint8_t* p = bitmap.Pixels() + bitmap.BitmapPixelAddress(1, 0);
  EXPECT_EQ(std::vector<uint8_t>(p, p + 4), (std::vector<uint8_t>{60, 50, 40, 128}));

  // An 8-bit palette BMP is refused as it is, taken through the decoder.
  std::vector<uint8_t> pal(54 + 8 + 4, 0);
  pal[0] = 'B';
  pal[1] = 'M';
  Put32(pal, 2, static_cast<uint32_t>(pal.size()));
  Put32(pal, 10, 62);
  Put32(pal, 14, 40);
  Put32(pal, 18, 2);
  Put32(pal, 22, 1);
  Put16(pal, 26, 1);
  Put16(pal, 28, 8);
  Put32(pal, 46, 2);
  const uint8_t palette[] = {0, 0, 255, 0, 255, 0, 0, 0};  // red, blue (B, G, R, 0)
  std::memcpy(pal.data() + 54, palette, 8);
  pal[62] = 1;
  pal[63] = 0;
  EXPECT_EQ(bitmap.BitmapLoadBmp(pal.data(), pal.size()), 0);
  ASSERT_EQ(bitmap.BitmapLoadImage(pal.data(), pal.size()), 1);
  EXPECT_EQ(bitmap.BitsPerPixel(), 32);
  const uint8_t* first = bitmap.Pixels() + bitmap.BitmapPixelAddress(0, 0);
  EXPECT_EQ(std::vector<uint8_t>(first, first + 3), (std::vector<uint8_t>{255, 0, 0}));  // blue

  const uint8_t garbage[] = {1, 2, 3, 4, 5};
  EXPECT_EQ(bitmap.BitmapLoadImage(garbage, sizeof garbage), 0);
  EXPECT_EQ(bitmap.BitsPerPixel(), 32);  // the picture stays
}

TEST(EnhancedBitmap, CloneCopyAndResetCarryTheFileBytes) {
  rg_ZengJiangWeiTuLei empty;
  std::unique_ptr<CQzuObject> emptyClone(empty.Clone());
  EXPECT_TRUE(static_cast<rg_ZengJiangWeiTuLei&>(*emptyClone).IsEmpty());

  const std::vector<uint8_t> file = MakeBmp(3, 2, 24);
  rg_ZengJiangWeiTuLei loaded;
  ASSERT_EQ(loaded.BitmapLoadBmp(file.data(), file.size()), 1);
  std::unique_ptr<CQzuObject> clone(loaded.Clone());
  auto& copy = static_cast<rg_ZengJiangWeiTuLei&>(*clone);
  EXPECT_EQ(copy.RowStride(), 12);
  ASSERT_EQ(copy.FileSize(), loaded.FileSize());
  EXPECT_NE(copy.FileBytes(), loaded.FileBytes());
  EXPECT_EQ(0, std::memcmp(copy.FileBytes(), loaded.FileBytes(), loaded.FileSize()));
  EXPECT_TRUE(copy.IsEqual(loaded));

  ASSERT_EQ(copy.CopyFrom(empty), 1);
  EXPECT_TRUE(copy.IsEmpty());
  loaded.Reset();
  EXPECT_TRUE(loaded.IsEmpty());
  EXPECT_EQ(loaded.RowStride(), 0);

  rg_Ombrine_base::rg_ZhengShuLei other;
  EXPECT_EQ(copy.CopyFrom(other), 0);
  EXPECT_EQ(CWString::FromUtf8(copy.GetClassInfo().name), u"rg_Ombrine_windows_zjwtchl::rg_ZengJiangWeiTuLei");
}

TEST(EnhancedBitmap, BitmapFromBufferKeepsTheAlphaOf32BitFiles) {
  // 2 x 1, bottom-up, blue-green-red-alpha: one half-transparent pixel.
  std::vector<uint8_t> bmp = MakeBmp(2, 1, 32);
  const uint8_t pixels[] = {0x10, 0x20, 0x30, 0x80, 0x40, 0x50, 0x60, 0xFF};
  std::memcpy(bmp.data() + 54, pixels, sizeof pixels);
  const QImage withAlpha = BitmapFromBuffer(CQzuMem(bmp.data(), bmp.size())).GetImage();
  ASSERT_EQ(withAlpha.size(), QSize(2, 1));
  EXPECT_EQ(withAlpha.pixel(0, 0), qRgba(0x30, 0x20, 0x10, 0x80));
  EXPECT_EQ(withAlpha.pixel(1, 0), qRgba(0x60, 0x50, 0x40, 0xFF));

  // A fourth byte of 0 throughout is a picture written without alpha.
  bmp[54 + 3] = 0;
  bmp[54 + 7] = 0;
  const QImage opaque = BitmapFromBuffer(CQzuMem(bmp.data(), bmp.size())).GetImage();
  EXPECT_FALSE(opaque.hasAlphaChannel());
  EXPECT_EQ(opaque.pixel(0, 0), qRgb(0x30, 0x20, 0x10));

  // Other formats go to the framework's decoder; nothing gives nothing.
  const std::vector<uint8_t> bmp24 = MakeBmp(3, 2, 24);
  EXPECT_EQ(BitmapFromBuffer(CQzuMem(bmp24.data(), bmp24.size())).GetWidth(), 3);
  EXPECT_TRUE(BitmapFromBuffer(CQzuMem()).IsEmpty());
  EXPECT_TRUE(BitmapFromBuffer(CQzuMem("no picture", 10)).IsEmpty());
}

}  // namespace
