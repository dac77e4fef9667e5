// The program as its entry point runs it, with a temporary program folder,
// for the tests that end it with a signal as a log-off or a shutdown does.
//
//   qzu_session_end_child PROGRAM_FOLDER            options and text changed
//   qzu_session_end_child PROGRAM_FOLDER BATCH_ROOT the same during a batch
//
// Once the main window is shown it changes what a user would: without a
// batch the function "大写" and the input text; with one it first starts a
// batch of BATCH_ROOT to UTF-8 (every pump pauses 30 ms, so each file takes a
// while)
// and, while that runs, checks "折行" and changes the input text. Then it
// writes the file "ready" into the program folder. Message boxes are answered
// "取消" and printed on the error stream.
#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "app/startup.h"
#include "components/global_objects.h"
#include "framework/application_startup.h"
#include "framework/qt_platform_hooks.h"
#include "framework/user_app.h"
#include "platform/hooks.h"

using namespace rg_Ombrine_app;

namespace {

struct ChildHooks : CQtPlatformHooks {
  int pauseMs = 0;
  void PumpPendingMessages() override {
    if (pauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    CQtPlatformHooks::PumpPendingMessages();
  }
  int MessageBox(const CWString& text, const CWString& caption, int) override {
    std::fprintf(stderr, "box %s %s\n", caption.ToUtf8().c_str(), text.ToUtf8().c_str());
    return kIdCancel;
  }
};

rg_ZhuChuangKouLei* ShownMainWindow() {
  auto* program = static_cast<rg_startup_class*>(RunningUserApp());
  if (!program) return nullptr;
  rg_ZhuChuangKouLei& window = program->MainWindow();
  // The first activation names the action buttons after the function.
  if (!window.HasWindow() || window.EncodeButton.GetButtonText() == u"编码") return nullptr;
  return &window;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string folder = argv[1];
  const std::string batchRoot = argc > 2 ? argv[2] : "";
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  rg_Tavelkin_MingLingJi::CreateGlobalObjects();
  ChildHooks hooks;
  InstallPlatformHooks(&hooks);
  SetProgramFolder(CWString::FromSystemPath(folder));

  auto markReady = [folder] { std::ofstream(folder + "/ready") << "ready\n"; };
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    rg_ZhuChuangKouLei* window = ShownMainWindow();
    if (!window) return;
    poll.stop();
    if (batchRoot.empty()) {
      window->FunctionToggle(ConversionFunction::UpperCase).PressButton();
      window->InputEditor.SetCodeEditText(u"会话结束前写下的文字");
      markReady();
      return;
    }
    // Changed while the batch runs: its start has saved the settings already.
    QTimer::singleShot(300, [window, markReady] {
      window->WrapButton.SetButtonChecked(1);
      window->InputEditor.SetCodeEditText(u"批量中写下的文字");
      markReady();
    });
    hooks.pauseMs = 30;
    window->WalkSubfoldersCheck.SetButtonChecked(1);
    window->FileFilterEdit.SetText(u"*.txt");
    window->OutputCharsetList.SelectDropDownItem(2);  // UTF-8
    rg_Ombrine_base::rg_WenBenShuZuLei folders;
    folders.Add(CWString::FromSystemPath(batchRoot));
    window->RunBatch(rg_Ombrine_base::rg_WenBenShuZuLei(), folders, window->BatchEncodeButton);
  });
  poll.start(20);
  const int code = RunUserApplication(StartupClassInfo());
  InstallPlatformHooks(nullptr);
  return code;
}
