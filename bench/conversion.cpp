// The conversion core in file mode: one GBK file of exactly 100 MB (100 x
// 2^20 bytes) to UTF-8 with detection, beside the iconv program on the same
// file, once of generated text and once of the real poems of fortunes-zh
// repeated to that size (skipped with a message when the package is
// missing); a tree of 10,000 small GBK files into the result folder; and
// 2,000 small GBK files converted in place (each original kept in the backup
// tree). The large runs report peak_rss_MB: the process's peak resident
// memory during the conversion alone (the peak is reset before each run, and
// the file is generated piece by piece, so the generator leaves nothing in
// it), beside rss_before_MB, what the process held when the run began, and
// peak_over_input, the run's own growth over the input's size; upper case
// and simplified to traditional on the large file (GBK, and as UTF-8) report
// that figure too.
// Files live on /dev/shm so that file creation on a disk does not dominate;
// QZU_BENCH_DIR names another folder (a disk) to measure there instead.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/conversion_core.h"
#include "bench/bench_files.h"
#include "bench/real_text.h"
#include "common/utf.h"
#include "textlib/charset_convert.h"

using namespace rg_Ombrine_app;
namespace fs = std::filesystem;

namespace {

using qzu_bench::Gbk;
using qzu_bench::GbkText;
using qzu_bench::QuietHost;
using qzu_bench::Scratch;

// The resident memory figures of /proc/self/status ("VmHWM", "VmRSS") in MB.
double StatusMegabytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.compare(0, std::strlen(field), field) == 0) return std::atof(line.c_str() + std::strlen(field) + 1) / 1024;
  return 0;
}

// Starts a new peak of resident memory; false where the system cannot.
bool ResetPeakMemory() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
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

constexpr size_t kLargeBytes = size_t{100} << 20;

// A GBK file of exactly kLargeBytes bytes, written piece by piece: generated
// prose (sample 0) or the real poems (sample 1), its last bytes ASCII blanks
// so that no character is cut. Made once and removed at exit.
struct LargeGbkFile {
  fs::path root;
  fs::path file;
  bool made = false;
  explicit LargeGbkFile(int sample) : root(Scratch(sample == 0 ? "qzu_bench_large" : "qzu_bench_large_real")) {
    fs::remove_all(root);
    std::vector<std::string> pieces;
    if (sample == 0) {
      for (const std::u16string& p : qzu_bench::kProsePieces) pieces.push_back(Gbk(p));
    } else {
      const std::string& poems = qzu_bench::RealChineseText();
      if (poems.empty()) return;
      pieces.push_back(Gbk(qzu::Utf8ToUtf16(poems)));
    }
    file = root / "big.txt";
    fs::create_directories(root);
    std::ofstream out(file, std::ios::binary);
    std::mt19937 rng(1);
    size_t written = 0;
    while (written < kLargeBytes) {
      const std::string& piece = pieces[rng() % pieces.size()];
      const size_t n = std::min(piece.size(), kLargeBytes - written);
      if (n < piece.size()) {
        out << std::string(n, ' ');
      } else {
        out.write(piece.data(), static_cast<std::streamsize>(n));
      }
      written += n;
    }
    made = static_cast<bool>(out);
  }
  ~LargeGbkFile() { fs::remove_all(root); }
  static const LargeGbkFile& Get(int sample) {
    static const LargeGbkFile generated(0);
    static const LargeGbkFile real(1);
    return sample == 0 ? generated : real;
  }
};

// The file of the run's sample; null (the run skipped) when it is missing.
const LargeGbkFile* LargeFile(benchmark::State& state) {
  const int sample = static_cast<int>(state.range(0));
  state.SetLabel(sample == 0 ? "generated" : "real poems");
  if (sample != 0 && qzu_bench::SkipWithoutRealText(state)) return nullptr;
  const LargeGbkFile& large = LargeGbkFile::Get(sample);
  if (!large.made || fs::file_size(large.file) != kLargeBytes) {
    state.SkipWithError("the large file could not be made");
    return nullptr;
  }
  return &large;
}

void BM_ConvertOneLargeGbkFile(benchmark::State& state) {
  const LargeGbkFile* large = LargeFile(state);
  if (!large) return;
  Core core(large->root);
  double peak = 0, before = 0;
  for (auto _ : state) {
    state.PauseTiming();
    before = StatusMegabytes("VmRSS:");
    if (!ResetPeakMemory()) state.SkipWithError("the peak memory cannot be reset here");
    state.ResumeTiming();
    if (!core.Convert(large->file)) state.SkipWithError("conversion failed");
    peak = std::max(peak, StatusMegabytes("VmHWM:"));
  }
  state.counters["input_MB"] = static_cast<double>(kLargeBytes) / (1 << 20);
  state.counters["peak_rss_MB"] = peak;
  state.counters["peak_over_input"] = (peak - before) / (static_cast<double>(kLargeBytes) / (1 << 20));
  state.counters["rss_before_MB"] = before;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kLargeBytes));
}
BENCHMARK(BM_ConvertOneLargeGbkFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Two text functions that change the text in place, upper case and
// simplified to traditional, on the large generated file as it is (GBK,
// argument 1 = 0) and converted to UTF-8 (1), written back as UTF-8 in the
// result folder. peak_over_input is the run's own peak (the peak less what
// the process held before it) over the file's size: what the whole file
// costs in memory beside its bytes on the disk.
void BM_FunctionOnLargeFile(benchmark::State& state) {
  const bool traditional = state.range(0) != 0;
  const bool utf8 = state.range(1) != 0;
  const LargeGbkFile& large = LargeGbkFile::Get(0);
  if (!large.made) return state.SkipWithError("the large file could not be made");
  fs::path file = large.file;
  if (utf8) {
    file = large.root / "utf8" / "big.txt";
    if (!fs::exists(file)) {
      std::ifstream in(large.file, std::ios::binary);
      const std::string gbk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      CQzuMem bytes(gbk.data(), gbk.size());
      ConvertCharset(bytes, CWString(u"GBK"), CWString(u"UTF-8"), 0);
      WriteBytes(file, std::string(bytes.View()));
    }
  }
  const double inputMb = static_cast<double>(fs::file_size(file)) / (1 << 20);
  Core core(file.parent_path());
  core.options.function = traditional ? ConversionFunction::Traditional : ConversionFunction::UpperCase;
  double peak = 0, before = 0;
  for (auto _ : state) {
    state.PauseTiming();
    before = StatusMegabytes("VmRSS:");
    if (!ResetPeakMemory()) state.SkipWithError("the peak memory cannot be reset here");
    state.ResumeTiming();
    if (!core.Convert(file)) state.SkipWithError("conversion failed");
    peak = std::max(peak, StatusMegabytes("VmHWM:") - before);
  }
  state.counters["input_MB"] = inputMb;
  state.counters["peak_over_input"] = peak / inputMb;
  state.SetLabel(std::string(traditional ? "traditional" : "upper case") + (utf8 ? ", UTF-8 file" : ", GBK file"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(inputMb * (1 << 20)));
}
BENCHMARK(BM_FunctionOnLargeFile)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

// The same file through the iconv program, for comparison.
void BM_IconvCommandLargeGbkFile(benchmark::State& state) {
  const LargeGbkFile* large = LargeFile(state);
  if (!large) return;
  const std::string command =
      "iconv -f GBK -t UTF-8 '" + large->file.string() + "' > '" + (large->root / "iconv.txt").string() + "'";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("iconv failed or is missing");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kLargeBytes));
}
BENCHMARK(BM_IconvCommandLargeGbkFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

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
  for (auto _ : state) {
    // Each run starts with no results, as a first batch does.
    state.PauseTiming();
    fs::remove_all(root / "转换结果");
    fs::remove_all(root / "原文件备份");
    Core core(root);
    state.ResumeTiming();
    for (const fs::path& f : files)
      if (!core.Convert(f)) state.SkipWithError("conversion failed");
    core.core.FlushWrittenFolders();
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
    core.core.FlushWrittenFolders();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(files.size()));
  fs::remove_all(root);
}
BENCHMARK(BM_ConvertOneTreeInPlace)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace
