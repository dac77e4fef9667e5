// A batch to look at: the program starts as usual, makes a tree of small GBK
// files in a temporary folder and drops it on "批量编码" a second later.
//   batch_demo running   each file takes a moment, so the batch button reads
//                        "停止批量操作" and the title shows the progress
//   batch_demo summary   a few files, then the summary box; among them a
//                        picture and a program named .txt (skipped), a file
//                        whose result cannot be written (failed) and
//                        subtitles with emoji written as ANSI (replaced)
// The tree is removed when the program ends.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
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

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The files of the summary mode that are not simply converted.
void AddTroubles(const std::string& root) {
  static const unsigned char kPng[] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D,
                                       0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01};
  WriteBytes(root + "/封面.txt", std::string(reinterpret_cast<const char*>(kPng), sizeof kPng));
  std::ifstream program("/bin/true", std::ios::binary);
  WriteBytes(root + "/sub/工具.txt", std::string(std::istreambuf_iterator<char>(program), {}));
  WriteBytes(root + "/字幕.txt", "好的👍，我们明天早上九点在学校门口见面。\r\n记得带上你的作业本。\r\n");
  WriteBytes(root + "/sub/字幕2.txt", "今天天气真好☀️，一起去公园散步吧。\r\n");
  // A folder where the result of 文件0.txt goes (the results of a dropped
  // folder go beside it): it cannot be written.
  const std::string parent = root.substr(0, root.rfind('/'));
  QDir().mkpath(QString::fromStdString(parent + "/转换结果/资料/文件0.txt"));
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
  if (!running) AddTroubles(root);

  rg_Ombrine_app::rg_startup_class program;
  if (rg_Ombrine_app::StartProgram(program) != 0) return 1;
  rg_Ombrine_app::rg_ZhuChuangKouLei& window = program.MainWindow();
  QTimer::singleShot(1000, [&] {
    window.WalkSubfoldersCheck.SetButtonChecked(1);
    window.WalkSubfoldersCheck.RedrawButton();
    window.FileFilterEdit.SetText(u"*.txt");
    if (!running) {
      window.SaveToNewLocationCheck.SetButtonChecked(1);
      window.OutputCharsetList.SelectDropDownItem(1);  // ANSI
    }
    rg_Ombrine_base::rg_WenBenShuZuLei folders;
    folders.Add(CWString::FromUtf8(root));
    window.RunBatch(rg_Ombrine_base::rg_WenBenShuZuLei(), folders, window.BatchEncodeButton);
  });
  const int code = app.exec();
  InstallPlatformHooks(nullptr);
  return code;
}
