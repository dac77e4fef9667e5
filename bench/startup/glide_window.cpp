// A floor of the idle measurement: the bare window with a white strip across
// its top, in which an opaque 210 x 70 child showing a picture moves by one
// pixel every 20 ms between two bounds, as the banner's gliding item does;
// the least a plain Qt program pays for that glide.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPaintEvent>
#include <QTimer>
#include <QWidget>

namespace {

// Copies its picture, as the program's display painter does.
class Picture : public QWidget {
 public:
  explicit Picture(QWidget* parent) : QWidget(parent), m_image(210, 70, QImage::Format_RGB32) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPainter p(&m_image);
    p.fillRect(m_image.rect(), Qt::white);
    p.setBrush(QColor(0x17, 0x84, 0xDB));
    p.drawRoundedRect(m_image.rect().adjusted(4, 4, -4, -4), 12, 12);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    p.drawImage(event->rect().topLeft(), m_image, event->rect());
  }

 private:
  QImage m_image;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("glide"));
  window.resize(1192, 720);
  auto* strip = new QWidget(&window);
  strip->setGeometry(0, 0, 1192, 93);
  strip->setAutoFillBackground(true);
  QPalette palette = strip->palette();
  palette.setColor(QPalette::Window, Qt::white);
  strip->setPalette(palette);
  auto* item = new Picture(strip);
  item->setGeometry(424, 8, 210, 70);
  const int leftBound = 332, rightBound = 1182;
  int step = 1;
  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    const int left = item->x() + step;
    item->move(left, item->y());
    if (left < leftBound || left + item->width() > rightBound) step = -step;
  });
  timer.start(20);
  window.show();
  return app.exec();
}
