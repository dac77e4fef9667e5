#pragma once
// DecodeImageBytes: image file bytes (PNG, BMP, JPEG, GIF, SVG...) decoded
// with Qt's readers, as QImage::fromData decodes them. PNG and BMP bytes,
// known by their signature, go straight to Qt's own reader of that format:
// otherwise Qt first loads every image plugin to ask whether it reads the
// bytes (or the format), and none of them takes these signatures. Bytes the
// reader of their signature cannot read get the full search. Any thread.
#include <QImage>

#include <cstddef>

// A null image when the bytes are no picture Qt reads.
QImage DecodeImageBytes(const void* data, size_t size);
