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
// The check for files that hold no text, and the count of characters the
// code page lacks, beside the conversion they belong to: 87 MB of the poems
// as GBK to UTF-8 and as UTF-16LE to GBK, the conversion with both, the
// check and the count alone on the same bytes (the conversion less them is
// the floor), and the check as it was before (a byte at a time, a separate
// search for zero bytes, two more passes counting "?"). And the whole
// process, this program converting the file in a process of its own beside
// iconv (GBK to UTF-8) and uconv (UTF-16LE to GBK), by turns.
// Files live on /dev/shm so that file creation on a disk does not dominate;
// QZU_BENCH_DIR names another folder (a disk) to measure there instead.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/conversion_core.h"
#include "app/conversion_core_non_text.h"
#include "bench/bench_files.h"
#include "bench/paired_timing.h"
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


// The check as it was: control characters a byte (or unit) at a time, and a
// separate search for zero bytes.
namespace before {

constexpr bool TextControl(unsigned c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x1B; }

template <typename Unit>
bool TooManyControls(std::basic_string_view<Unit> text) {
  size_t controls = 0;
  for (const Unit u : text) {
    const auto c = static_cast<unsigned>(u);
    if ((c < 0x20 && !TextControl(c)) || c == 0x7F) ++controls;
  }
  return controls > 2 && controls * 100 > text.size();
}

bool BytesHoldNoText(std::string_view bytes) {
  if (bytes.empty()) return false;
  if (std::memchr(bytes.data(), 0, bytes.size()) != nullptr) return true;  // not reached by text without zeros
  return TooManyControls(bytes);
}

// The two passes that counted what the code page lacked, per piece.
size_t QuestionMarksAdded(std::u16string_view units, const std::string& bytes) {
  const auto written = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '?'));
  const auto given = static_cast<size_t>(std::count(units.begin(), units.end(), u'?'));
  return written > given ? written - given : 0;
}

}  // namespace before

constexpr size_t kPoemBytes = size_t{87} << 20;

// The poems as GBK (kPoemBytes) and as UTF-16LE without a mark, on /dev/shm.
struct PoemFiles {
  fs::path root = Scratch("qzu_bench_poems");
  fs::path gbk = root / "gbk.txt";
  fs::path utf16 = root / "utf16.txt";
  bool made = false;
  PoemFiles() {
    fs::remove_all(root);
    std::string poems = qzu_bench::RealChineseText(kPoemBytes * 3 / 2);
    if (poems.empty()) return;
    const std::u16string units = qzu::Utf8ToUtf16(poems);
    std::string gbk = Gbk(units);
    gbk.resize(std::min(gbk.size(), kPoemBytes));
    while (!gbk.empty() && gbk.back() != '\n') gbk.pop_back();
    CQzuMem wide(gbk.data(), gbk.size());
    ConvertCharset(wide, CWString(u"GBK"), CWString(u"UTF-16LE"), 0);
    WriteBytes(this->gbk, gbk);
    WriteBytes(utf16, std::string(wide.View()));
    made = true;
  }
  ~PoemFiles() { fs::remove_all(root); }
  static const PoemFiles& Get() {
    static const PoemFiles files;
    return files;
  }
};

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Argument 0: GBK to UTF-8; 1: UTF-16LE to GBK. Each turn converts the file
// through the core (check and count included) and again with the check
// turned off (the floor), then times the check and the count alone on the
// bytes the core checks and the units it encodes, now and as they were.
// share_pct is what the check adds to the conversion over its floor.
void BM_NonTextCheckBesideItsConversion(benchmark::State& state) {
  const bool utf16 = state.range(0) != 0;
  state.SetLabel(utf16 ? "UTF-16LE to GBK" : "GBK to UTF-8");
  if (qzu_bench::SkipWithoutRealText(state)) return;
  const PoemFiles& files = PoemFiles::Get();
  if (!files.made) return state.SkipWithError("the poem files could not be made");
  const fs::path& file = utf16 ? files.utf16 : files.gbk;
  Core core(files.root);
  core.options.inputCharsetIndex = utf16 ? 3 : 1;
  core.options.outputCharsetIndex = utf16 ? 1 : 2;
  const std::string bytes = ReadAll(file);
  const std::u16string_view units(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
  std::vector<double> conversion, floor, check, count, checkBefore, countBefore;
  auto nullSink = [](const void*, size_t) { return true; };
  for (auto _ : state) {
    conversion.push_back(qzu_bench::Milliseconds([&] {
      if (!core.Convert(file)) state.SkipWithError("conversion failed");
    }));
    SetTextCheckEnabled(false);
    floor.push_back(qzu_bench::Milliseconds([&] {
      if (!core.Convert(file)) state.SkipWithError("conversion failed");
    }));
    SetTextCheckEnabled(true);
    bool verdict = false;
    check.push_back(qzu_bench::Milliseconds(
        [&] { verdict = utf16 ? UnitsHoldNoText(units) : BytesHoldNoText(bytes); }));
    if (verdict) state.SkipWithError("the poems taken for no text");
    checkBefore.push_back(qzu_bench::Milliseconds([&] {
      verdict = utf16 ? before::TooManyControls(units) : before::BytesHoldNoText(bytes);
    }));
    benchmark::DoNotOptimize(verdict);
    if (utf16) {
      // The encoder with its count, less the encoder alone.
      size_t replaced = 0;
      const double counted = qzu_bench::Milliseconds(
          [&] { EncodeUtf16InPieces(units, CWString(u"ANSI"), nullSink, &replaced); });
      const double plain = qzu_bench::Milliseconds([&] { EncodeUtf16InPieces(units, CWString(u"ANSI"), nullSink); });
      count.push_back(std::max(0.0, counted - plain));
      // The two passes a piece that counted before.
      std::string piece;
      countBefore.push_back(qzu_bench::Milliseconds([&] {
        size_t n = 0;
        for (size_t at = 0; at < units.size(); at += 1 << 16) {
          const std::u16string_view part = units.substr(at, 1 << 16);
          piece.assign(reinterpret_cast<const char*>(part.data()), part.size());  // bytes of a like size
          n += before::QuestionMarksAdded(part, piece);
        }
        benchmark::DoNotOptimize(n);
      }));
    } else {
      count.push_back(0);
      countBefore.push_back(0);
    }
  }
  const double whole = qzu_bench::Median(conversion);
  const double bottom = qzu_bench::Median(floor);
  const double was = qzu_bench::Median(checkBefore) + qzu_bench::Median(countBefore);
  state.counters["conversion_ms"] = whole;
  state.counters["floor_ms"] = bottom;
  state.counters["check_ms"] = qzu_bench::Median(check);
  state.counters["count_ms"] = qzu_bench::Median(count);
  state.counters["share_pct"] = 100 * (whole - bottom) / whole;
  state.counters["before_check_ms"] = qzu_bench::Median(checkBefore);
  state.counters["before_count_ms"] = qzu_bench::Median(countBefore);
  state.counters["before_share_pct"] = 100 * was / (bottom + was);
  state.counters["input_MB"] = static_cast<double>(bytes.size()) / (1 << 20);
}
BENCHMARK(BM_NonTextCheckBesideItsConversion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(7)->UseRealTime();

// The whole process: this program started to convert one file (see main)
// beside the peer's program on the same file, by turns; ratio is ours over
// the peer's, of the medians. Argument 0: GBK to UTF-8 beside iconv; 1:
// UTF-16LE to GBK beside uconv.
void BM_WholeProcessBesidePeer(benchmark::State& state) {
  const bool utf16 = state.range(0) != 0;
  state.SetLabel(utf16 ? "UTF-16LE to GBK, uconv" : "GBK to UTF-8, iconv");
  if (qzu_bench::SkipWithoutRealText(state)) return;
  const PoemFiles& files = PoemFiles::Get();
  if (!files.made) return state.SkipWithError("the poem files could not be made");
  const fs::path& file = utf16 ? files.utf16 : files.gbk;
  const fs::path out = files.root / "process";
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  const std::string ours = "'" + self + "' --convert-one " + (utf16 ? "utf16-gbk '" : "gbk-utf8 '") + file.string() +
                           "' '" + files.root.string() + "'";
  const std::string peer = utf16 ? "uconv -f UTF-16LE -t GBK --callback substitute '" + file.string() + "' > '" +
                                       (out / "uconv.txt").string() + "'"
                                 : "iconv -f GBK -t UTF-8 '" + file.string() + "' > '" + (out / "iconv.txt").string() + "'";
  fs::create_directories(out);
  std::vector<double> ourTimes, peerTimes;
  for (auto _ : state) {
    ourTimes.push_back(qzu_bench::Milliseconds([&] {
      if (std::system(ours.c_str()) != 0) state.SkipWithError("our conversion failed");
    }));
    peerTimes.push_back(qzu_bench::Milliseconds([&] {
      if (std::system(peer.c_str()) != 0) state.SkipWithError("the peer failed or is missing");
    }));
  }
  state.counters["ours_ms"] = qzu_bench::Median(ourTimes);
  state.counters["peer_ms"] = qzu_bench::Median(peerTimes);
  state.counters["ratio"] = qzu_bench::Median(ourTimes) / qzu_bench::Median(peerTimes);
  state.counters["input_MB"] = static_cast<double>(fs::file_size(file)) / (1 << 20);
}
BENCHMARK(BM_WholeProcessBesidePeer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(7)->UseRealTime();

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

// "--convert-one gbk-utf8|utf16-gbk FILE ROOT" converts FILE into the result
// folder of the batch root ROOT and exits: the whole process the benchmark above times.
int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "--convert-one") == 0) {
    const bool utf16 = std::strcmp(argv[2], "utf16-gbk") == 0;
    Core core{fs::path(argv[4])};
    core.options.inputCharsetIndex = utf16 ? 3 : 1;
    core.options.outputCharsetIndex = utf16 ? 1 : 2;
    return core.Convert(argv[3]) ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
