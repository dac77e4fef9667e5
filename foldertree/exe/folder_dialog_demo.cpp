// The folder-choice dialog as the batch command shows it: the prompt, the
// folder tree over this computer's folders and file systems, the path box and
// the four buttons. Run it, pick a folder and press 确定: the chosen path is
// printed (an empty line for 取消). The first argument is the start folder
// (the home folder when none is given); --screenshot FILE saves the dialog
// once it has settled and cancels it; --factor F draws at another DPI factor.
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/dpi.h"
#include "foldertree/folder_choice_dialog.h"
#include "framework/application_startup.h"
#include "platform/hooks.h"
#include "services/global_settings.h"

using rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::kBatchFolderPrompt;
using rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::rg_TavelkinLiuLanWenJianGaLei;

int main(int argc, char** argv) {
  const char* shot = nullptr;
  const char* start = nullptr;
  double factor = 0;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc)
      shot = argv[++i];
    else if (!std::strcmp(argv[i], "--factor") && i + 1 < argc)
      factor = std::atof(argv[++i]);
    else
      start = argv[i];
  }
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  if (factor > 0) SetDpiFactor(factor);
  // The favourites live in the settings file of the program's folder; the
  // demo reads them and leaves the file as it was.
  rg_Tavelkin_MingLingJi::GlobalSettings().LoadIni(GetProgramFolder() + u"/软件配置.ini", 0);

  rg_TavelkinLiuLanWenJianGaLei dialog;
  if (shot) {
    QTimer::singleShot(1500, [&] {
      QDialog* envelope = dialog.GetEnvelope();
      const bool saved = envelope && envelope->grab().save(QString::fromLocal8Bit(shot));
      std::printf("folder_dialog_demo: %s %s\n", saved ? "saved" : "could not save", shot);
      if (envelope) envelope->reject();
    });
  }
  const CWString from =
      start ? CWString::FromSystemPath(start) : PlatformHooks().SpecialFolderPath(SpecialFolder::Home);
  const CWString chosen = dialog.ShowFolderChoiceDialog(kBatchFolderPrompt, from);
  std::printf("%s\n", chosen.ToUtf8().c_str());
  return 0;
}
