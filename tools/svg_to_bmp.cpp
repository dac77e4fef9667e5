// Renders an SVG picture into a 24-bit BMP of an exact size, over white.
// The build runs it to make the banner strip's pictures (resources/banner/)
// in the size of each DPI step; the output depends only on the SVG and the
// size.
//
//   qzu_svg_to_bmp <in.svg> <width> <height> <out.bmp>
//
// The BMP is what the program's bitmap loader accepts: "BM", a 40-byte
// information header, 24 bits per pixel, rows bottom-up, each padded to four
// bytes.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::vector<uint8_t> EncodeBmp24(const QImage& image) {
  const uint32_t width = static_cast<uint32_t>(image.width());
  const uint32_t height = static_cast<uint32_t>(image.height());
  const uint32_t stride = (width * 3 + 3) / 4 * 4;
  const uint32_t pixelBytes = stride * height;
  const uint32_t offset = 14 + 40;
  std::vector<uint8_t> out;
  out.reserve(offset + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + pixelBytes);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);  // positive: bottom-up
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // no compression
  Put32(out, pixelBytes);
  Put32(out, 3780);  // 96 DPI in pixels per metre
  Put32(out, 3780);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = image.height() - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (uint32_t x = 0; x < width; ++x) {
      out.push_back(static_cast<uint8_t>(qBlue(row[x])));
      out.push_back(static_cast<uint8_t>(qGreen(row[x])));
      out.push_back(static_cast<uint8_t>(qRed(row[x])));
    }
    for (uint32_t pad = width * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s <in.svg> <width> <height> <out.bmp>\n", argv[0]);
    return 2;
  }
  const int width = std::atoi(argv[2]);
  const int height = std::atoi(argv[3]);
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid() || width <= 0 || height <= 0) {
    std::fprintf(stderr, "%s: cannot render %s at %s x %s\n", argv[0], argv[1], argv[2], argv[3]);
    return 1;
  }
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    svg.render(&painter, QRectF(0, 0, width, height));
  }
  const std::vector<uint8_t> bmp = EncodeBmp24(image);
  FILE* f = std::fopen(argv[4], "wb");
  if (!f || std::fwrite(bmp.data(), 1, bmp.size(), f) != bmp.size() || std::fclose(f) != 0) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[4]);
    return 1;
  }
  return 0;
}
