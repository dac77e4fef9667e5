// The program's entry point: the Qt application started through the window
// framework, and the main window as a framework form.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/dpi.h"
#include "components/global_objects.h"
#include "framework/application_startup.h"
#include "framework/label.h"
#include "framework/win_form.h"

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

// Until the main window of its own exists, the program opens a framework
// form of the main window's default size with the product title.
class MainForm : public CQzuWinForm {
 public:
  MainForm() { SetCaption(kProductTitle); }
  int DefaultWidth() const override { return ScaleByDpiFactor(1192); }
  int DefaultHeight() const override { return ScaleByDpiFactor(720); }

 protected:
  void CreateChildren() override {
    SetBackColour(0xFFFFFF);
    m_title.SetFontText(u"微软雅黑, 20, 0, 0, 0, 0, 0");
    m_title.SetAlignment(rg_Ombrine_MFCJieMian_base::rg_label8::kAlignCentre);
    m_title.Create(this, 0, 0, GetClientWidth(), GetClientHeight(), 101, kProductTitle);
  }

 private:
  rg_Ombrine_MFCJieMian_base::rg_label8 m_title;
};

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
  MainForm window;
  if (!window.CreateForm()) {
    std::fprintf(stderr, "quillmere: the main window could not be created\n");
    return 1;
  }
  return app.exec();
}
