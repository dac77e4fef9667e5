#pragma once
// Encoders for rendered pictures: the bytes of PNG, BMP and TGA files made in
// memory from 8-bit RGBA pixels (rows top-down, 4 x width bytes each). An
// empty buffer means nothing could be encoded (no pixels, or no memory).
#include <cstdint>

#include "common/mem.h"

// PNG, 8-bit RGBA (colour type 6).
CQzuMem EncodePngRgba(const uint8_t* rgba, int width, int height);
// BMP with the 54-byte header, 24 bits per pixel, rows bottom-up and padded
// to 4 bytes. The alpha channel is not stored: each pixel is blended over
// magenta (255, 0, 255) by its alpha first, so transparent pixels show as the
// colour key the button's drawing leaves out.
CQzuMem EncodeBmp24OverMagenta(const uint8_t* rgba, int width, int height);
// TGA, uncompressed true colour with alpha: 18-byte header, then the rows
// bottom-up as blue, green, red, alpha.
CQzuMem EncodeTgaRgba(const uint8_t* rgba, int width, int height);
// BMP with the 40-byte info header at 32 bits per pixel (blue, green, red,
// alpha), rows bottom-up: the form the enhanced bitmap accepts, which stb's
// own 32-bit writer (a 108-byte header) is not.
CQzuMem EncodeBmp32Rgba(const uint8_t* rgba, int width, int height);
