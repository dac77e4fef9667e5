// A batch to look at: the program starts as usual, makes a tree of small GBK
// files in a temporary folder and drops it on "批量编码" a second later.
//   batch_demo running   each file takes a moment, so the batch button reads
//                        "停止批量操作" and the title shows the progress
//   batch_demo summary   a few files, then the summary box
// The tree is removed when the program ends.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "app/startup.h"
#include "components/global_objects.h"
#include "framework/application_startup.h"
#include "framework/qt_platform_hooks.h"
#include "textlib/charset_convert.h"

namespace {

// The desktop hooks with a pause in every pump of the batch, so that a
// screenshot finds it running.
struct SlowHooks : CQtPlatformHooks {
  int pauseMs = 0;
  void PumpPendingMessages() override {
    if (pauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    CQtPlatformHooks::PumpPendingMessages();
  }
};

void MakeTree(const std::string& root, int files) {
  const std::u16string text = u"批量转换的中文内容，第一行。\r\n第二行 second line。\r\n";
  CQzuMem bytes(text.data(), text.size() * 2);
  Utf16ToAnsi(bytes);
  QDir().mkpath(QString::fromStdString(root + "/sub"));
  for (int i = 0; i < files; ++i) {
    const std::string path = root + (i % 2 ? "/sub/" : "/") + "文件" + std::to_string(i) + ".txt";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.GetData()), static_cast<std::streamsize>(bytes.GetSize()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool running = argc < 2 || std::strcmp(argv[1], "summary") != 0;
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  rg_Tavelkin_MingLingJi::CreateGlobalObjects();
  SlowHooks hooks;
  hooks.pauseMs = running ? 40 : 0;
  InstallPlatformHooks(&hooks);
  QTemporaryDir scratch;
  const std::string root = scratch.path().toStdString() + "/资料";
  MakeTree(root, running ? 400 : 6);

  rg_Ombrine_app::rg_startup_class program;
  if (rg_Ombrine_app::StartProgram(program) != 0) return 1;
  rg_Ombrine_app::rg_ZhuChuangKouLei& window = program.MainWindow();
  QTimer::singleShot(1000, [&] {
    window.WalkSubfoldersCheck.SetButtonChecked(1);
    window.WalkSubfoldersCheck.RedrawButton();
    window.FileFilterEdit.SetText(u"*.txt");
    rg_Ombrine_base::rg_WenBenShuZuLei folders;
    folders.Add(CWString::FromUtf8(root));
    window.RunBatch(rg_Ombrine_base::rg_WenBenShuZuLei(), folders, window.BatchEncodeButton);
  });
  const int code = app.exec();
  InstallPlatformHooks(nullptr);
  return code;
}
