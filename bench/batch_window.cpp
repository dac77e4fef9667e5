// A batch over a tree of 10,000 small GBK files (1 to 20 KB, 100 folders) to
// UTF-8 in the result tree: through the real main window on the offscreen
// platform (the folder walker, the options read from the controls before
// every file, the title hint, one message pump per file and per folder), and
// beside it the same walk through the headless conversion core with a pump
// that does nothing. The ratio of the two is the cost of the window.
// Files live on /dev/shm; QZU_BENCH_DIR names another folder to measure there.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "app/batch_folder_choice.h"
#include "app/batch_texts.h"
#include "app/conversion_core.h"
#include "app/main_window.h"
#include "bench/bench_files.h"
#include "common/dpi.h"
#include "framework/qt_platform_hooks.h"
#include "services/folder_walker.h"
#include "textlib/charset_convert.h"

using namespace rg_Ombrine_app;
namespace fs = std::filesystem;

namespace {

using qzu_bench::GbkText;
using qzu_bench::QuietHost;
using qzu_bench::Scratch;

constexpr int kFiles = 10000;

// The tree both runs convert, made once and removed at exit.
struct Tree {
  fs::path root = Scratch("qzu_bench_batch_window");
  fs::path input = root / "P";
  fs::path results = input / kBatchResultFolder;
  Tree() {
    fs::remove_all(root);
    std::mt19937 rng(7);
    for (int i = 0; i < kFiles; ++i) {
      const fs::path p = input / ("d" + std::to_string(i / 100)) / ("f" + std::to_string(i) + ".txt");
      fs::create_directories(p.parent_path());
      const std::string bytes = GbkText(1024 + rng() % (19 * 1024), static_cast<unsigned>(i));
      std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
  }
  ~Tree() { fs::remove_all(root); }
  static const Tree& Get() {
    static const Tree tree;
    return tree;
  }
};

// The desktop hooks with the summary answered at once.
struct AnsweringHooks : CQtPlatformHooks {
  int MessageBox(const CWString&, const CWString&, int) override { return kIdCancel; }
};

// No window, no events: the pump of the headless run.
struct QuietHooks : CQtPlatformHooks {
  void PumpPendingMessages() override {}
};

void BM_BatchThroughTheWindow(benchmark::State& state) {
  const Tree& tree = Tree::Get();
  AnsweringHooks hooks;
  IPlatformHooks* previous = InstallPlatformHooks(&hooks);
  SetBatchFolderChooser([&tree](const CWString&, const CWString&) { return CWString::FromUtf8(tree.input.string()); });
  auto window = std::make_unique<rg_ZhuChuangKouLei>();
  window->CreateForm();
  QElapsedTimer wait;
  wait.start();
  while (window->BatchEncodeButton.GetButtonText() != u"批量转码" && wait.elapsed() < 5000)
    QCoreApplication::processEvents();
  window->OutputCharsetList.SelectDropDownItem(2);
  window->FileFilterEdit.SetText(u"*.txt");
  window->WalkSubfoldersCheck.SetButtonChecked(1);
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(tree.results);
    state.ResumeTiming();
    window->RunBatch(rg_Ombrine_base::rg_WenBenShuZuLei(), rg_Ombrine_base::rg_WenBenShuZuLei(),
                     window->BatchEncodeButton);
    if (window->ConvertedCount != kFiles) state.SkipWithError("not every file was converted");
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kFiles);
  window->DestroyWindow();
  window.reset();
  SetBatchFolderChooser(nullptr);
  InstallPlatformHooks(previous);
  fs::remove_all(tree.results);
}
BENCHMARK(BM_BatchThroughTheWindow)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The same walk and the same conversions without the window.
struct HeadlessBatch : CQzuObject {
  ConversionOptions options;
  CWString root;
  int32_t converted = 0;
  rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei pinyin;
  QuietHost host;
  WordDocuments word{nullptr, host};
  static intptr_t OnFolder(CQzuObject* receiver, CQzuObject*, intptr_t, const rg_Ombrine_base::rg_WenBenShuZuLei& files,
                           const CWString&) {
    auto* self = static_cast<HeadlessBatch*>(receiver);
    for (const CWString& file : files) {
      ConversionCore core(self->options, self->root, self->converted, self->pinyin, self->word, self->host);
      CWString text, result;
      core.ConvertOne(result, file, files.GetCount(), 1, text, false);
    }
    return 0;
  }
};

void BM_BatchHeadless(benchmark::State& state) {
  const Tree& tree = Tree::Get();
  QuietHooks hooks;
  IPlatformHooks* previous = InstallPlatformHooks(&hooks);
  HeadlessBatch batch;
  CQzuReceiverRef receiver = CQzuReceiverRef::Make(&batch);
  batch.options.outputCharsetIndex = 2;
  batch.options.saveToNewLocation = true;
  rg_Tavelkin_MingLingJi::rg_TavelkinBianLiZiMuLuLei walker;
  walker.folderEvent.Connect(&HeadlessBatch::OnFolder, receiver);
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(tree.results);
    state.ResumeTiming();
    batch.root = CWString::FromUtf8(tree.input.string());
    batch.converted = 0;
    walker.WalkSubFolders(batch.root, u"*.txt", 1, kBatchExclusions);
    if (batch.converted != kFiles) state.SkipWithError("not every file was converted");
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kFiles);
  receiver->Detach();
  InstallPlatformHooks(previous);
  fs::remove_all(tree.results);
}
BENCHMARK(BM_BatchHeadless)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
  QApplication app(argc, argv);
  SetDpiFactor(1.0);
  InstallQtPlatformHooks();
  // The settings and the icon cache of this run stay in a folder of its own.
  const fs::path programFolder = Scratch("qzu_bench_batch_window_program");
  fs::create_directories(programFolder);
  SetProgramFolder(CWString::FromUtf8(programFolder.string()));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(programFolder);
  return 0;
}
