#include "framework/image_decode.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <climits>
#include <cstring>

namespace {

// The built-in reader for bytes starting with its format's signature, or
// null to let Qt find one.
const char* SignatureFormat(const unsigned char* data, size_t size) {
  static const unsigned char kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size >= sizeof kPng && std::memcmp(data, kPng, sizeof kPng) == 0) return "PNG";
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return "BMP";
  return nullptr;
}

}  // namespace

QImage DecodeImageBytes(const void* data, size_t size) {
  if (!data || size == 0 || size > static_cast<size_t>(INT_MAX)) return QImage();
  const auto* bytes = static_cast<const unsigned char*>(data);
  const int count = static_cast<int>(size);
  if (const char* format = SignatureFormat(bytes, size)) {
    // As QImage::fromData reads, but without the search: Qt asks every
    // plugin about a format it is given unless told not to detect formats.
    QByteArray wrapped = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), count);
    QBuffer buffer(&wrapped);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (!image.isNull()) return image;
  }
  // Bytes behind a signature that its reader refuses get the full search.
  return QImage::fromData(bytes, count);
}
