#include "components/image_encoders.h"

#include <cstring>
#include <utility>
#include <vector>

// The one place the stb writer's implementation is compiled.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_STATIC  // private to this file: no clash with another copy of the writer
#include <stb/stb_image_write.h>

#include "common/little_endian.h"

namespace {

// The writer's sink: bytes go into the buffer; a failed append is remembered
// so that a truncated file is never handed out.
struct Sink {
  CQzuMem bytes;
  bool failed = false;
};

void AppendToSink(void* context, void* data, int size) {
  auto* sink = static_cast<Sink*>(context);
  if (size > 0 && !sink->bytes.Append(data, static_cast<size_t>(size))) sink->failed = true;
}

bool SizeUsable(const uint8_t* rgba, int width, int height) {
  // stb keeps byte counts in int: stay well inside that.
  return rgba && width > 0 && height > 0 && static_cast<long long>(width) * height <= (1LL << 28);
}

CQzuMem Finish(int ok, Sink& sink) {
  if (!ok || sink.failed) return CQzuMem();
  return std::move(sink.bytes);
}

}  // namespace

CQzuMem EncodePngRgba(const uint8_t* rgba, int width, int height) {
  if (!SizeUsable(rgba, width, height)) return CQzuMem();
  Sink out;
  const int ok = stbi_write_png_to_func(AppendToSink, &out, width, height, 4, rgba, width * 4);
  return Finish(ok, out);
}

CQzuMem EncodeBmp24OverMagenta(const uint8_t* rgba, int width, int height) {
  if (!SizeUsable(rgba, width, height)) return CQzuMem();
  // Blend as the image writer does for its 4-channel BMP (integer division
  // toward zero), then hand it 3 channels so it writes the 54-byte header.
  static const int kBackground[3] = {255, 0, 255};
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<uint8_t> rgb(count * 3);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* px = rgba + i * 4;
    for (int k = 0; k < 3; ++k)
      rgb[i * 3 + k] = static_cast<uint8_t>(kBackground[k] + ((px[k] - kBackground[k]) * px[3]) / 255);
  }
  Sink out;
  const int ok = stbi_write_bmp_to_func(AppendToSink, &out, width, height, 3, rgb.data());
  return Finish(ok, out);
}

CQzuMem EncodeTgaRgba(const uint8_t* rgba, int width, int height) {
  if (!SizeUsable(rgba, width, height) || width > 0xFFFF || height > 0xFFFF) return CQzuMem();
  stbi_write_tga_with_rle = 0;
  Sink out;
  const int ok = stbi_write_tga_to_func(AppendToSink, &out, width, height, 4, rgba);
  return Finish(ok, out);
}

CQzuMem EncodeBmp32Rgba(const uint8_t* rgba, int width, int height) {
  if (!SizeUsable(rgba, width, height)) return CQzuMem();
  const size_t stride = static_cast<size_t>(width) * 4;
  const size_t pixelBytes = stride * static_cast<size_t>(height);
  CQzuMem out;
  if (!out.SetSize(54 + pixelBytes)) return CQzuMem();
  uint8_t* p = out.GetData();
  p[0] = 'B';
  p[1] = 'M';
  StoreLittleEndian32(p + 2, static_cast<uint32_t>(54 + pixelBytes));
  StoreLittleEndian32(p + 10, 54);
  StoreLittleEndian32(p + 14, 40);
  StoreLittleEndian32(p + 18, static_cast<uint32_t>(width));
  StoreLittleEndian32(p + 22, static_cast<uint32_t>(height));
  p[26] = 1;   // planes
  p[28] = 32;  // bits per pixel
  StoreLittleEndian32(p + 34, static_cast<uint32_t>(pixelBytes));
  uint8_t* dst = p + 54;
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* src = rgba + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width; ++x, src += 4, dst += 4) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
      dst[3] = src[3];
    }
  }
  return out;
}
