// The GDI+-style wrappers: images from memory and their copies, graphics on
// an image, last-status rules, saving as BMP, encoder parameter sets.
#include <gtest/gtest.h>

#include <QColor>

#include <cstring>

#include "components/enhanced_bitmap.h"
#include "components/gdiplus_encoder_parameters.h"
#include "components/gdiplus_graphics.h"
#include "platform/resource_loader.h"

using namespace rg_Qurix_gdiplus;

namespace {

TEST(GdiplusWrappers, ImagesFromMemoryShareTheirBytesAndSurviveACopysDisposal) {
  const CQzuMem canvas = LoadResourceBytes(514);
  rg_GPTuXiangLei image;
  ASSERT_TRUE(image.LoadFromMemory(canvas, false));
  EXPECT_EQ(image.LastStatus(), kGpOk);
  ASSERT_TRUE(image.Handle());
  EXPECT_EQ(image.Handle()->size(), QSize(100, 100));
  EXPECT_EQ(image.Handle()->pixelColor(50, 50).alpha(), 0);

  {
    rg_GPTuXiangLei copy(image);
    EXPECT_NE(copy.Handle(), image.Handle());
    EXPECT_EQ(copy.Stream(), image.Stream());
    EXPECT_FALSE(copy.IsEqual(image));
    copy.Dispose();
    EXPECT_FALSE(copy.Handle());
  }
  EXPECT_TRUE(image.Stream());
  rg_GPTuXingLei graphics;
  ASSERT_TRUE(graphics.FromImage(image));
  EXPECT_TRUE(graphics.Clear(0xFF000000));
  EXPECT_EQ(image.Handle()->pixel(0, 0), qRgba(0, 0, 0, 255));

  const uint8_t garbage[] = {1, 2, 3};
  EXPECT_FALSE(image.LoadFromMemory(CQzuMem(garbage, 3), false));
  EXPECT_EQ(image.LastStatus(), kGpUnknownImageFormat);
  EXPECT_FALSE(image.Handle());
  EXPECT_FALSE(image.LoadFromFile(u"/nonexistent/picture.png", true));
  EXPECT_NE(image.LastStatus(), kGpOk);
}

TEST(GdiplusWrappers, GraphicsOnAnEmptyImageIsNoGraphicsAndNoFailure) {
  rg_GPTuXiangLei empty;
  rg_GPTuXingLei graphics;
  EXPECT_TRUE(graphics.FromImage(empty));
  EXPECT_EQ(graphics.LastStatus(), kGpOk);
  EXPECT_FALSE(graphics.Handle());
  rg_GPChunSeHuaShuaLei brush;
  ASSERT_TRUE(brush.CreateSolidFill(0xFFFFFFFF));
  EXPECT_FALSE(graphics.FillEllipse(brush, 0, 0, 4, 4));
  EXPECT_NE(graphics.LastStatus(), kGpOk);
}

TEST(GdiplusWrappers, ALaterSuccessKeepsTheEarlierFailureStatus) {
  rg_GPTuXiangLei image;
  ASSERT_TRUE(image.CreateBlank(8, 8));
  rg_GPTuXingLei graphics;
  ASSERT_TRUE(graphics.FromImage(image));
  rg_GPHuaShuaLei noBrush;
  EXPECT_FALSE(graphics.FillEllipse(noBrush, 0, 0, 8, 8));
  const int32_t failed = graphics.LastStatus();
  EXPECT_NE(failed, kGpOk);
  rg_GPChunSeHuaShuaLei brush;
  ASSERT_TRUE(brush.CreateSolidFill(0xFF0000FF));
  EXPECT_TRUE(graphics.FillEllipse(brush, 0, 0, 8, 8));
  EXPECT_EQ(graphics.LastStatus(), failed);
  EXPECT_EQ(image.Handle()->pixel(4, 4), qRgba(0, 0, 255, 255));
}

TEST(GdiplusWrappers, TheRoundCheckGlyphDrawsAndSavesAsA32BitBmp) {
  rg_GPTuXiangLei image;
  ASSERT_TRUE(image.LoadFromMemory(LoadResourceBytes(514), false));
  rg_GPTuXingLei graphics;
  ASSERT_TRUE(graphics.FromImage(image));
  ASSERT_TRUE(graphics.SetSmoothingMode(kGpSmoothingHighQuality));
  ASSERT_TRUE(graphics.Clear(0x00000000));
  rg_GPChunSeHuaShuaLei white, red;
  ASSERT_TRUE(white.CreateSolidFill(0xFFFFFFFF));
  ASSERT_TRUE(red.CreateSolidFill(0xFFFF6666));
  rg_GPHuaBiLei pen;
  ASSERT_TRUE(pen.CreatePen(0xFF808080, 2.0));
  ASSERT_TRUE(graphics.FillEllipse(white, 5, 5, 90, 90));
  ASSERT_TRUE(graphics.FillEllipse(red, 25, 25, 50, 50));
  ASSERT_TRUE(graphics.DrawEllipse(pen, 5, 5, 90, 90));
  EXPECT_EQ(image.Handle()->pixel(50, 50), qRgba(255, 102, 102, 255));
  EXPECT_EQ(image.Handle()->pixel(15, 50), qRgba(255, 255, 255, 255));
  EXPECT_EQ(qAlpha(image.Handle()->pixel(1, 1)), 0);
  // Smoothing leaves partly covered pixels on the rim.
  bool partial = false;
  for (int x = 0; x < 50 && !partial; ++x) {
    const int a = qAlpha(image.Handle()->pixel(x, 50));
    partial = a > 0 && a < 255;
  }
  EXPECT_TRUE(partial);

  CQzuMem bmp;
  rg_GPBianMaQiCanShuJi none;
  ASSERT_TRUE(SaveImageToMemory(image, bmp, 0, &none));
  CFBitMap bitmap;
  ASSERT_EQ(bitmap.BitmapLoadBmp(bmp.GetData(), bmp.GetSize()), 1);
  EXPECT_EQ(bitmap.BitsPerPixel(), 32);
  EXPECT_EQ(bitmap.Width(), 100);
  const uint8_t* centre = bitmap.Pixels() + bitmap.BitmapPixelAddress(50, 50);
  EXPECT_EQ(std::vector<uint8_t>(centre, centre + 4), (std::vector<uint8_t>{102, 102, 255, 255}));

  rg_GPTuXiangLei nothing;
  CQzuMem untouched;
  EXPECT_FALSE(SaveImageToMemory(nothing, untouched, 0, nullptr));
  EXPECT_TRUE(untouched.IsEmpty());
}

TEST(GdiplusWrappers, TheBmpEncoderIsFoundAmongTheWriters) {
  const QzuGuid clsid = FindBmpEncoder();
  EXPECT_FALSE(clsid.IsZero());
  EXPECT_EQ(clsid.ToText(), u"{557CF400-1A04-11D3-9A73-0000F81EF32E}");
  EXPECT_EQ(kImageFormatBmp.ToText(), u"{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}");
}

TEST(GdiplusWrappers, EncoderParameterBlocksAndTheirDump) {
  rg_GPBianMaQiCanShuJi set;
  EXPECT_EQ(set.GetParameters(), nullptr);
  EXPECT_EQ(set.Dump(), u"");
  const uint32_t depth = 24;
  set.AddParameter(kImageFormatBmp, 4, 1, &depth, sizeof depth);
  const auto* block = static_cast<const uint8_t*>(set.GetParameters());
  ASSERT_NE(block, nullptr);
  const size_t head = sizeof(void*) > 4 ? 8 : 4;
  const void* firstValue;
  std::memcpy(&firstValue, block + head + 24, sizeof firstValue);
  uint32_t value;
  std::memcpy(&value, firstValue, 4);
  EXPECT_EQ(value, 24u);

  const uint32_t quality[] = {90, 95};
  set.AddParameter(kBmpEncoderClsid, 4, 2, quality, sizeof quality);
  EXPECT_EQ(set.GetCount(), 2);
  block = static_cast<const uint8_t*>(set.GetParameters());
  const void* stillFirst;
  std::memcpy(&stillFirst, block + head + 24, sizeof stillFirst);
  EXPECT_EQ(stillFirst, firstValue);  // values keep their addresses
  EXPECT_EQ(set.Dump(), u"参数数量=2\r\n{Guid={B96B3CAB-0728-11D3-9D7B-0000F81EF32E},类型=4, 值成员数=1}\r\n"
                        u"{Guid={557CF400-1A04-11D3-9A73-0000F81EF32E},类型=4, 值成员数=2}\r\n");

  // Copies never carry the parameters.
  std::unique_ptr<CQzuObject> copy(set.Clone());
  EXPECT_EQ(static_cast<rg_GPBianMaQiCanShuJi&>(*copy).GetParameters(), nullptr);
  set.Reset();
  EXPECT_EQ(set.GetParameters(), nullptr);
}

TEST(GdiplusWrappers, BrushesAndPensDuplicateOnCopy) {
  rg_GPHuaShuaLei brush;
  EXPECT_TRUE(brush.Dump().Contains(u"类型: -1, 最后状态: 0 "));
  EXPECT_TRUE(brush.Dump().StartsWith(u"GP画刷类: "));
  ASSERT_TRUE(brush.CreateSolidFill(0x80102030));
  rg_GPHuaShuaLei copy(brush);
  ASSERT_TRUE(copy.Handle());
  EXPECT_NE(copy.Handle(), brush.Handle());
  EXPECT_EQ(copy.Handle()->colour, QColor(0x10, 0x20, 0x30, 0x80));
  EXPECT_TRUE(copy.Dump().Contains(u"类型: 0, 最后状态: 0 "));

  rg_GPHuaBiLei pen;
  ASSERT_TRUE(pen.CreatePen(0xFF00FF00, 1.5));
  std::unique_ptr<CQzuObject> penCopy(pen.Clone());
  const auto& p = static_cast<rg_GPHuaBiLei&>(*penCopy);
  ASSERT_TRUE(p.Handle());
  EXPECT_NE(p.Handle(), pen.Handle());
  EXPECT_FLOAT_EQ(p.Handle()->width, 1.5f);
  EXPECT_FALSE(pen.CreatePen(0xFF00FF00, -1.0));

  rg_GPTuXiangLei image;
  EXPECT_TRUE(image.Dump().StartsWith(u"GP图像类: "));
  EXPECT_TRUE(image.Dump().EndsWith(u" ,最后状态: 0"));
  rg_GPTuXingLei graphics;
  EXPECT_TRUE(graphics.Dump().StartsWith(u"GP图形类: "));
}

}  // namespace
