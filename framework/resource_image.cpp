#include "framework/resource_image.h"

#include <QPainter>
#include <QSvgRenderer>

#include "framework/image_decode.h"
#include "platform/resource_loader.h"

QImage LoadResourceImage(int id) {
  const unsigned char* data = nullptr;
  size_t size = 0;
  if (!FindResource(id, &data, &size) || size == 0) return QImage();
  return DecodeImageBytes(data, size);
}

QImage RenderSvgResource(int id, int width, int height) {
  const unsigned char* data = nullptr;
  size_t size = 0;
  if (width <= 0 || height <= 0 || !FindResource(id, &data, &size) || size == 0) return QImage();
  QSvgRenderer renderer(QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<int>(size)));
  if (!renderer.isValid()) return QImage();
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  renderer.render(&p);
  return image;
}
