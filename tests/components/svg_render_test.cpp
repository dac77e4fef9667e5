// SVG rendering and the picture encoders: exact bytes of the BMP and TGA
// files, the magenta blend, PNG round trips and the failure paths.
#include <gtest/gtest.h>

#include <QImage>

#include <string>

#include "components/image_encoders.h"
#include "components/svg_render.h"
#include "test_support.h"

using namespace rg_Ombrine_Tosvard_SVGHuiZhiKu;
using qzu_test::BytesOf;
using qzu_test::Hex;
using qzu_test::Mem;
using qzu_test::ToHex;

namespace {

std::vector<uint8_t> Slice(const CQzuMem& m, size_t from, size_t count) {
  return std::vector<uint8_t>(m.GetData() + from, m.GetData() + from + count);
}

// One opaque colour over the whole canvas.
const std::string kSolid =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="4" height="4" viewBox="0 0 4 4">)"
    R"(<rect width="4" height="4" fill="#102030"/></svg>)";
// Red upper half, blue lower half.
const std::string kTwoBands =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="4" height="4" viewBox="0 0 4 4">)"
    R"(<rect width="4" height="2" fill="#FF0000"/><rect y="2" width="4" height="2" fill="#0000FF"/></svg>)";
// Nothing drawn: the background shows.
const std::string kEmpty =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="4" height="4" viewBox="0 0 4 4"></svg>)";

std::string LittleEndian(uint32_t v) {
  char b[12];
  snprintf(b, sizeof b, "%02X %02X %02X %02X", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, v >> 24);
  return b;
}

TEST(SvgRender, BmpHeaderAndRowPaddingForWidthsOneThreeAndFour) {
  for (int width : {1, 3, 4}) {
    SCOPED_TRACE(width);
    const int height = 2;
    const int pad = (4 - (3 * width) % 4) % 4;
    const uint32_t fileSize = 54 + (3 * width + pad) * height;
    const CQzuMem bmp = RenderSvgToImage(Mem(kSolid), width, height, 0, kSvgFormatBmp);
    ASSERT_EQ(bmp.GetSize(), fileSize);
    const std::string header = "42 4D " + LittleEndian(fileSize) + " 00 00 00 00 36 00 00 00 28 00 00 00 " +
                               LittleEndian(width) + " " + LittleEndian(height) +
                               " 01 00 18 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    EXPECT_EQ(ToHex(Slice(bmp, 0, 54)), ToHex(Hex(header)));
    // Each row: blue, green, red per pixel, then the pad bytes as zeros.
    std::string row;
    for (int x = 0; x < width; ++x) row += "30 20 10 ";
    for (int p = 0; p < pad; ++p) row += "00 ";
    for (int y = 0; y < height; ++y)
      EXPECT_EQ(ToHex(Slice(bmp, 54 + y * (3 * width + pad), 3 * width + pad)), ToHex(Hex(row)));
  }
}

TEST(SvgRender, BmpRowsAreStoredBottomRowFirst) {
  const CQzuMem bmp = RenderSvgToImage(Mem(kTwoBands), 1, 2, 0, kSvgFormatBmp);
  ASSERT_EQ(bmp.GetSize(), 54u + 8u);
  EXPECT_EQ(ToHex(Slice(bmp, 54, 8)), "FF 00 00 00 00 00 FF 00");  // blue row, then red row
}

TEST(SvgRender, HalfTransparentPixelsBlendOverMagentaInBmp) {
  // Directly: channel = bg + (c - bg) * a / 255 with bg = (255, 0, 255).
  const uint8_t pixels[] = {0, 0, 0, 128, 200, 100, 50, 128, 9, 9, 9, 0, 1, 2, 3, 255};
  const CQzuMem bmp = EncodeBmp24OverMagenta(pixels, 4, 1);
  ASSERT_EQ(bmp.GetSize(), 54u + 12u);
  // (0,0,0,128) -> (127,0,127); (200,100,50,128) -> (228,50,153); alpha 0 -> magenta; opaque unchanged.
  EXPECT_EQ(ToHex(Slice(bmp, 54, 12)), "7F 00 7F 99 32 E4 FF 00 FF 03 02 01");

  // Through a render: a half-transparent black background and nothing drawn.
  const CQzuMem rendered = RenderSvgToImage(Mem(kEmpty), 1, 1, 0x00000080, kSvgFormatBmp);
  ASSERT_EQ(rendered.GetSize(), 58u);
  EXPECT_EQ(ToHex(Slice(rendered, 54, 4)), "7F 00 7F 00");
}

TEST(SvgRender, BackgroundZeroIsWhiteForBmpAndTransparentForPng) {
  const CQzuMem bmp = RenderSvgToImage(Mem(kEmpty), 1, 1, 0, kSvgFormatBmp);
  ASSERT_EQ(bmp.GetSize(), 58u);
  EXPECT_EQ(ToHex(Slice(bmp, 54, 4)), "FF FF FF 00");

  const CQzuMem png = RenderSvgToImage(Mem(kEmpty), 2, 2, 0, kSvgFormatPng);
  QImage decoded = QImage::fromData(png.GetData(), static_cast<int>(png.GetSize()), "PNG");
  ASSERT_FALSE(decoded.isNull());
  EXPECT_EQ(decoded.pixelColor(1, 1).alpha(), 0);
  // An opaque background colour given as 0xRRGGBBAA.
  const CQzuMem green = RenderSvgToImage(Mem(kEmpty), 1, 1, 0x00FF00FF, kSvgFormatPng);
  decoded = QImage::fromData(green.GetData(), static_cast<int>(green.GetSize()), "PNG");
  EXPECT_EQ(decoded.pixel(0, 0), qRgba(0, 255, 0, 255));
}

TEST(SvgRender, TgaIsUncompressed32BitBottomRowFirst) {
  const CQzuMem tga = RenderSvgToImage(Mem(kTwoBands), 3, 2, 0, kSvgFormatTga);
  ASSERT_EQ(tga.GetSize(), 18u + 4u * 3u * 2u);
  EXPECT_EQ(ToHex(Slice(tga, 0, 18)), "00 00 02 00 00 00 00 00 00 00 00 00 03 00 02 00 20 08");
  EXPECT_EQ(ToHex(Slice(tga, 18, 4)), "FF 00 00 FF");       // bottom row: blue
  EXPECT_EQ(ToHex(Slice(tga, 18 + 12, 4)), "00 00 FF FF");  // top row: red
  // Uniform pixels would shrink under run-length coding; they must not.
  EXPECT_EQ(RenderSvgToImage(Mem(kSolid), 16, 16, 0, kSvgFormatTga).GetSize(), 18u + 4u * 16u * 16u);
}

TEST(SvgRender, PngDecodesToTheRenderedPixelsAndOtherFormatsArePng) {
  const CQzuMem png = RenderSvgToImage(Mem(kTwoBands), 5, 4, 0, kSvgFormatPng);
  ASSERT_GT(png.GetSize(), 33u);
  EXPECT_EQ(png[25], 6);  // colour type: RGBA
  const QImage decoded =
      QImage::fromData(png.GetData(), static_cast<int>(png.GetSize()), "PNG").convertToFormat(QImage::Format_RGBA8888);
  const std::shared_ptr<const QImage> bitmap = SvgPictureObject().Bitmap();
  ASSERT_TRUE(bitmap);
  ASSERT_EQ(decoded.size(), QSize(5, 4));
  ASSERT_EQ(bitmap->size(), QSize(5, 4));
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(0, memcmp(decoded.constScanLine(y), bitmap->constScanLine(y), 20)) << "row " << y;
  EXPECT_EQ(decoded.pixel(0, 0), qRgba(255, 0, 0, 255));
  EXPECT_EQ(decoded.pixel(4, 3), qRgba(0, 0, 255, 255));

  EXPECT_EQ(BytesOf(RenderSvgToImage(Mem(kTwoBands), 5, 4, 0, 3)), BytesOf(png));
  EXPECT_EQ(BytesOf(EncodeSvgBitmap(-7)), BytesOf(png));
}

TEST(SvgRender, InvalidSvgGivesNothingAndKeepsThePreviousBitmap) {
  ASSERT_FALSE(RenderSvgToImage(Mem(kSolid), 2, 2, 0, kSvgFormatPng).IsEmpty());
  const std::shared_ptr<const QImage> before = SvgPictureObject().Bitmap();
  const int renders = SvgRenderCount();
  for (const std::string& bad : {std::string("not an svg"), std::string(), std::string("<svg")}) {
    EXPECT_TRUE(RenderSvgToImage(Mem(bad), 2, 2, 0, kSvgFormatPng).IsEmpty());
    EXPECT_EQ(SvgPictureObject().Bitmap(), before);
  }
  EXPECT_EQ(SvgRenderCount(), renders);
  EXPECT_FALSE(SvgDrawingObject().HasDocument());
}

TEST(SvgRender, ASvgFileIsParsedAndWhatIsNoFileGivesNoDocument) {
  qzu_test::TempDir dir;
  qzu_test::WriteFile(dir.path() / "图.svg", std::vector<uint8_t>(kSolid.begin(), kSolid.end()));
  rg_SVGHuiZhiLei drawing;
  drawing.path = CWString::FromUtf8(dir.str() + "/图.svg");
  EXPECT_TRUE(LoadSvgFile(drawing));
  EXPECT_TRUE(SvgDrawingObject().HasDocument());

  for (const std::string& path : {std::string(), dir.str() + "/missing.svg", dir.str()}) {
    SCOPED_TRACE(path);
    drawing.path = CWString::FromUtf8(path);
    EXPECT_FALSE(LoadSvgFile(drawing));
    EXPECT_FALSE(SvgDrawingObject().HasDocument());
  }
  // A pipe named as the file is refused at once, not waited on.
  drawing.path = CWString::FromUtf8(dir.str() + "/pipe.svg");
  bool loaded = true;
  EXPECT_TRUE(qzu_test::ReturnsWithoutAWriter(dir.path() / "pipe.svg", [&] { loaded = LoadSvgFile(drawing); }));
  EXPECT_FALSE(loaded);
}

TEST(SvgRender, AZeroSideFollowsTheDocumentsAspect) {
  const CQzuMem png = RenderSvgToImage(Mem(kSolid), 0, 16, 0, kSvgFormatPng);
  const QImage decoded = QImage::fromData(png.GetData(), static_cast<int>(png.GetSize()), "PNG");
  EXPECT_EQ(decoded.size(), QSize(16, 16));
  ASSERT_TRUE(RenderSvgToImage(Mem(kSolid), 0, 0, 0, kSvgFormatPng).GetSize() > 0);
  EXPECT_EQ(SvgPictureObject().Bitmap()->size(), QSize(4, 4));
}

TEST(SvgRender, SaveBitmapFileWritesTheEncodedBytes) {
  qzu_test::TempDir dir;
  ASSERT_FALSE(RenderSvgToImage(Mem(kSolid), 3, 3, 0, kSvgFormatBmp).IsEmpty());
  const std::string path = dir.str() + "/out.tga";
  ASSERT_TRUE(SaveSvgBitmapFile(CWString::FromUtf8(path), kSvgFormatTga));
  EXPECT_EQ(qzu_test::ReadFile(path), BytesOf(EncodeSvgBitmap(kSvgFormatTga)));
  EXPECT_EQ(qzu_test::ReadFile(path).size(), 18u + 36u);
}

TEST(SvgRender, DrawingAndPictureObjectsFollowTheObjectConventions) {
  rg_SVGHuiZhiLei a;
  a.path = u"x.svg";
  std::unique_ptr<CQzuObject> clone(a.Clone());
  EXPECT_TRUE(clone->IsEqual(a));
  EXPECT_FALSE(static_cast<rg_SVGHuiZhiLei&>(*clone).HasDocument());
  CQzuMemStream stream;
  a.SaveToStream(stream);
  rg_SVGHuiZhiLei b;
  CQzuMemStream in(stream.Buffer());
  b.LoadFromStream(in);
  EXPECT_EQ(b.path, u"x.svg");
  EXPECT_EQ(CWString::FromUtf8(a.GetClassInfo().name), u"rg_Ombrine_Tosvard_SVGHuiZhiKu::rg_SVGHuiZhiLei");

  rg_SVGTuPianLei p;
  p.SetBitmap(std::make_shared<QImage>(2, 2, QImage::Format_RGBA8888));
  rg_SVGTuPianLei q;
  ASSERT_EQ(q.CopyFrom(p), 1);
  EXPECT_EQ(q.Bitmap(), p.Bitmap());  // shared, not copied
  q.Reset();
  EXPECT_FALSE(q.Bitmap());
  EXPECT_EQ(q.CopyFrom(a), 0);
}

}  // namespace
