// The program's entry point: the Qt application started through the window
// framework, then the program object made from the start-up class and run:
// its guarded start, then the message loop.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/startup.h"
#include "components/global_objects.h"
#include "framework/application_startup.h"

namespace {

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
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  // The shared objects need the application object; they go with it.
  rg_Tavelkin_MingLingJi::CreateGlobalObjects();
  // The program object, and with it the main window, lives until the loop
  // ends; a log-off, a shutdown or a SIGTERM closes the window as a click on
  // its close button would.
  return RunUserApplication(rg_Ombrine_app::StartupClassInfo());
}
