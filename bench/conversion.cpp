// The conversion core in file mode: one 100 MB GBK file to UTF-8 with
// detection (beside the iconv program on the same file), and a tree of
// 10,000 small GBK files into the result folder, and 2,000 small GBK files
// converted in place (each original kept in the backup tree).
// Files live on /dev/shm so that file creation on a disk does not dominate;
// QZU_BENCH_DIR names another folder (a disk) to measure there instead.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/conversion_core.h"
#include "textlib/charset_convert.h"

using namespace rg_Ombrine_app;
namespace fs = std::filesystem;

namespace {

class QuietHost : public IConversionHost {
 public:
  void SetTitleHint(const CWString&, const CWString&) override {}
  void ShowInformation(const CWString&) override {}
};

fs::path Scratch(const char* name) {
  if (const char* dir = std::getenv("QZU_BENCH_DIR"); dir && *dir) return fs::path(dir) / name;
  const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  return base / name;
}

// Chinese prose with ASCII punctuation and line breaks, in GBK.
std::string GbkText(size_t bytes, unsigned seed) {
  const std::u16string pieces[] = {u"字符编码转换工具，", u"批量处理文件夹。", u"Chinese text 123, ",
                                   u"简体中文与繁體中文。\r\n", u"乱码修复和旧文件迁移；"};
  std::mt19937 rng(seed);
  std::u16string text;
  while (text.size() * 2 < bytes) text += pieces[rng() % 5];
  CQzuMem m(text.data(), text.size() * 2);
  Utf16ToAnsi(m);
  return std::string(reinterpret_cast<const char*>(m.GetData()), m.GetSize());
}

void WriteBytes(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct Core {
  ConversionOptions options;
  CWString root;
  int32_t converted = 0;
  rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei pinyin;
  QuietHost host;
  WordDocuments word{nullptr, host};
  ConversionCore core{options, root, converted, pinyin, word, host};
  explicit Core(const fs::path& batchRoot) {
    root = CWString::FromUtf8(batchRoot.string());
    options.inputCharsetIndex = 0;   // detect
    options.outputCharsetIndex = 2;  // UTF-8
    options.saveToNewLocation = true;
  }
  bool Convert(const fs::path& file) {
    CWString text, result;
    core.ConvertOne(result, CWString::FromUtf8(file.string()), 1, 1, text, false);
    return result == u"1";
  }
};

// The 100 MB GBK file both large-file runs read, made once and removed at
// exit.
struct LargeGbkFile {
  fs::path root = Scratch("qzu_bench_large");
  fs::path file = root / "big.txt";
  size_t bytes = 0;
  LargeGbkFile() {
    fs::remove_all(root);
    const std::string gbk = GbkText(100u << 20, 1);
    bytes = gbk.size();
    WriteBytes(file, gbk);
  }
  ~LargeGbkFile() { fs::remove_all(root); }
  static const LargeGbkFile& Get() {
    static const LargeGbkFile large;
    return large;
  }
};

void BM_ConvertOneLargeGbkFile(benchmark::State& state) {
  const LargeGbkFile& large = LargeGbkFile::Get();
  Core core(large.root);
  for (auto _ : state)
    if (!core.Convert(large.file)) state.SkipWithError("conversion failed");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(large.bytes));
}
BENCHMARK(BM_ConvertOneLargeGbkFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The same file through the iconv program, for comparison.
void BM_IconvCommandLargeGbkFile(benchmark::State& state) {
  const LargeGbkFile& large = LargeGbkFile::Get();
  const std::string command =
      "iconv -f GBK -t UTF-8 '" + large.file.string() + "' > '" + (large.root / "iconv.txt").string() + "'";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("iconv failed or is missing");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(large.bytes));
}
BENCHMARK(BM_IconvCommandLargeGbkFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ConvertOneTreeOfSmallFiles(benchmark::State& state) {
  const fs::path root = Scratch("qzu_bench_tree");
  fs::remove_all(root);
  std::vector<fs::path> files;
  std::mt19937 rng(7);
  for (int i = 0; i < 10000; ++i) {
    const fs::path p = root / ("d" + std::to_string(i / 100)) / ("f" + std::to_string(i) + ".txt");
    WriteBytes(p, GbkText(1024 + rng() % (19 * 1024), static_cast<unsigned>(i)));
    files.push_back(p);
  }
  Core core(root);
  for (auto _ : state) {
    for (const fs::path& f : files)
      if (!core.Convert(f)) state.SkipWithError("conversion failed");
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(files.size()));
  fs::remove_all(root);
}
BENCHMARK(BM_ConvertOneTreeOfSmallFiles)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// In place: every file is replaced by its conversion and its original goes
// to the backup tree. The tree is made afresh, untimed, before each run.
void BM_ConvertOneTreeInPlace(benchmark::State& state) {
  const fs::path root = Scratch("qzu_bench_in_place");
  std::vector<std::pair<fs::path, std::string>> files;
  std::mt19937 rng(11);
  for (int i = 0; i < 2000; ++i)
    files.emplace_back(root / ("d" + std::to_string(i / 100)) / ("f" + std::to_string(i) + ".txt"),
                       GbkText(1024 + rng() % (19 * 1024), static_cast<unsigned>(i)));
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(root);
    for (const auto& [path, bytes] : files) WriteBytes(path, bytes);
    Core core(root);
    core.options.saveToNewLocation = false;
    state.ResumeTiming();
    for (const auto& file : files)
      if (!core.Convert(file.first)) state.SkipWithError("conversion failed");
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(files.size()));
  fs::remove_all(root);
}
BENCHMARK(BM_ConvertOneTreeInPlace)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace
