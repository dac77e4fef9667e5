// The program's entry point: a Qt application with one main window.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char16_t kProductTitle[] = u"Tavelkin·Quillmere";

// Qt would end with a plugin error when no display is reachable; say plainly
// what is missing and how to run the program without a screen.
bool DisplayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform && std::strncmp(platform, "xcb", 3) != 0) return true;
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (display && *display) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::fprintf(stderr,
                 "quillmere: no display found (DISPLAY is not set); "
                 "to run without a screen use: xvfb-run -a %s\n",
                 argv[0]);
    return 1;
  }
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication app(argc, argv);
  QMainWindow window;
  const QString title = QString::fromUtf16(kProductTitle);
  window.setWindowTitle(title);
  auto* label = new QLabel(title, &window);
  label->setAlignment(Qt::AlignCenter);
  window.setCentralWidget(label);
  window.resize(1192, 720);
  window.show();
  return app.exec();
}
