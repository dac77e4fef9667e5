// Image bytes decoded with the signature shortcut against Qt's own search
// (QImage::fromData without a format), and the image plugins it spares.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <string>

#include "framework/image_decode.h"

namespace {

QByteArray Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format)) << format;
  return bytes;
}

// A picture with every kind of pixel an icon has: opaque, see-through and
// half see-through.
QImage Sample(QImage::Format format) {
  QImage image(7, 5, format);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixelColor(x, y, QColor(x * 36, y * 60, 200, (x + y) * 23));
  return image;
}

// A 3 x 2 RGBA PNG written by hand, and a 24-bit BMP built here: bytes made
// without Qt's writers, which load the image plugins.
const unsigned char kPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x9D, 0x74, 0x66, 0x1A, 0x00, 0x00, 0x00,
    0x1D, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x08, 0x1B, 0x40, 0x14, 0x03,
    0x97, 0x88, 0xDC, 0xFF, 0x13, 0x29, 0x46, 0x36, 0xFF, 0x81, 0x00, 0x00, 0x7B, 0x89, 0x0B, 0x4E, 0x5A, 0x5C,
    0x89, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

QByteArray HandMadeBmp() {
  const int width = 3, height = 2, stride = 12;  // rows padded to 4 bytes
  QByteArray bmp(54 + stride * height, '\0');
  auto put32 = [&](int at, quint32 v) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<quint32>(bmp.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  bmp[26] = 1;   // planes
  bmp[28] = 24;  // bits per pixel
  for (int i = 54; i < bmp.size(); ++i) bmp[i] = static_cast<char>(i * 7);
  return bmp;
}

// Whether an image plugin of Qt's is loaded into this process.
bool ImagePluginLoaded() {
  QFile maps(QStringLiteral("/proc/self/maps"));
  return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

}  // namespace

TEST(ImageDecode, DecodesAsQtsOwnSearchDoes) {
  QByteArray damagedPng = Encoded(Sample(QImage::Format_ARGB32), "PNG");
  damagedPng.truncate(20);
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"PNG by hand", QByteArray(reinterpret_cast<const char*>(kPng), sizeof kPng)},
      {"BMP by hand", HandMadeBmp()},
      {"PNG with alpha", Encoded(Sample(QImage::Format_ARGB32), "PNG")},
      {"PNG opaque", Encoded(Sample(QImage::Format_RGB32), "PNG")},
      {"BMP 24-bit", Encoded(Sample(QImage::Format_RGB888), "BMP")},
      {"BMP 32-bit", Encoded(Sample(QImage::Format_ARGB32), "BMP")},
      {"JPEG", Encoded(Sample(QImage::Format_RGB32), "JPEG")},
      {"SVG", QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='6' height='4'>"
                         "<rect width='6' height='4' fill='#336699'/></svg>")},
      {"damaged PNG", damagedPng},
      {"text starting BM", QByteArray("BM is not a bitmap here")},
  };
  for (const auto& c : cases) {
    const QImage reference = QImage::fromData(c.bytes);
    const QImage decoded = DecodeImageBytes(c.bytes.constData(), static_cast<size_t>(c.bytes.size()));
    EXPECT_EQ(decoded.isNull(), reference.isNull()) << c.name;
    EXPECT_EQ(decoded.format(), reference.format()) << c.name;
    EXPECT_EQ(decoded, reference) << c.name;
  }
  EXPECT_TRUE(DecodeImageBytes(nullptr, 0).isNull());
}

// PNG and BMP need none of the plugins (GIF, JPEG, SVG...) that Qt would
// load to ask whether they read the bytes. (Run after another test, a plugin
// may be loaded already: then there is nothing to see.)
TEST(ImageDecode, PngAndBmpLoadNoImagePlugin) {
  if (ImagePluginLoaded()) GTEST_SKIP() << "an image plugin was loaded before this test";
  const QByteArray bmp = HandMadeBmp();
  EXPECT_EQ(DecodeImageBytes(kPng, sizeof kPng).size(), QSize(3, 2));
  EXPECT_EQ(DecodeImageBytes(bmp.constData(), static_cast<size_t>(bmp.size())).size(), QSize(3, 2));
  EXPECT_FALSE(ImagePluginLoaded());
}
