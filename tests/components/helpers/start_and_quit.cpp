// A program run that starts the Qt application with the shared global objects
// and quits without ever showing the input box. Prints how many widgets the
// objects made and whether they were still there once the application object
// had gone: "widgets=0 globals-left=0" is the sound answer. Under
// AddressSanitizer anything leaked makes the exit code non-zero.
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "components/global_objects.h"
#include "framework/application_startup.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  PrepareQtEnvironment();
  long long widgets = -1;
  {
    QApplication app(argc, argv);
    InitializeFramework();
    const long long before = QApplication::allWidgets().size();
    rg_Tavelkin_MingLingJi::CreateGlobalObjects();
    rg_Tavelkin_MingLingJi::AboutText() = u"关于";
    widgets = QApplication::allWidgets().size() - before;
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    app.exec();
  }
  std::printf("widgets=%lld globals-left=%d\n", widgets, rg_Tavelkin_MingLingJi::GlobalObjectsExist() ? 1 : 0);
  return 0;
}
