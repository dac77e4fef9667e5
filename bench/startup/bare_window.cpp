// The floor of the start-up measurement: a bare Qt Widgets window of the
// main window's size, shown, then the event loop.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.resize(1192, 720);
  window.show();
  return app.exec();
}
