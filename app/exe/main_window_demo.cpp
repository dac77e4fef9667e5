// The main window as the program opens it, for looking at it in other
// states: main_window_demo [--factor F] [--function CAPTION] [--size WxH]
// [--encode] [--tones] [--input TEXT] starts at DPI factor F, clicks the
// function toggle of that caption once the window is shown, gives the window
// that client size, with --tones sets the pinyin options to every character
// with tone marks, with --input puts TEXT (a file's path, say) in the input
// editor and, with --encode, clicks "编码" on the input editor's text.
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/startup.h"
#include "common/dpi.h"
#include "components/global_objects.h"
#include "framework/application_startup.h"

int main(int argc, char** argv) {
  double factor = 0;
  const char* function = nullptr;
  const char* input = nullptr;
  int width = 0, height = 0;
  bool encode = false, tones = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--encode")) encode = true;
    if (!std::strcmp(argv[i], "--tones")) tones = true;
  }
  for (int i = 1; i + 1 < argc; ++i) {
    if (!std::strcmp(argv[i], "--factor")) factor = std::atof(argv[i + 1]);
    if (!std::strcmp(argv[i], "--function")) function = argv[i + 1];
    if (!std::strcmp(argv[i], "--input")) input = argv[i + 1];
    if (!std::strcmp(argv[i], "--size")) std::sscanf(argv[i + 1], "%dx%d", &width, &height);
  }
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  if (factor > 0) SetDpiFactor(factor);
  rg_Tavelkin_MingLingJi::CreateGlobalObjects();
  rg_Ombrine_app::rg_startup_class program;
  const int started = rg_Ombrine_app::StartProgram(program);
  if (started != 0) return started;
  rg_Ombrine_app::rg_ZhuChuangKouLei& window = program.MainWindow();
  QTimer::singleShot(500, [&] {
    if (width > 0 && height > 0) window.GetWidget()->resize(width, height);
    if (function) {
      const CWString caption = CWString::FromUtf8(function);
      for (int i = 0; i < rg_Ombrine_app::kConversionFunctionCount; ++i) {
        auto& toggle = window.FunctionToggle(static_cast<rg_Ombrine_app::ConversionFunction>(i));
        if (toggle.GetButtonText() == caption) toggle.PressButton();
      }
    }
    if (tones) {
      window.ToneCheck.SetButtonChecked(1);
      window.PinyinRatioList.SelectDropDownItem(6);  // "100%"
    }
    if (input) window.InputEditor.SetCodeEditText(CWString::FromUtf8(input));
    if (encode) window.EncodeButton.PressButton();
  });
  return app.exec();
}
