// A floor of the idle measurement: the bare window with an empty precise
// 20 ms timer, the cost of waking the event loop 50 times a second.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("timer"));
  window.resize(1192, 720);
  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, [] {});
  timer.start(20);
  window.show();
  return app.exec();
}
