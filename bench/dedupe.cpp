// Line de-duplication, in each mode, on two texts of about 50 MB as UTF-8:
// a generated one of 1,000,000 lines (every line repeated about ten times;
// argument sample 0) and the real poems of fortunes-zh repeated to the same
// size (sample 1; skipped with a message when the package is missing).
//
// Beside it, the same work done the plain way in the same run: a hash set
// (or map) of string_views into the input, no copy of a line, and the output
// appended to one string. And the whole-process wall time of the two usual
// commands on the same text written to a file, as a user would run them:
// `sort -u` and `awk '!s[$0]++'` (both with LC_ALL=C, comparing bytes as the
// de-duplication does; output to /dev/null). The commands' figures include
// starting the process and reading the file; ours start from the text in
// memory.
//
// For a steady ratio, BM_KeyColumnOursOverPlain runs ours and the plain way
// by turns in one benchmark and reports the medians of both and their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "bench/paired_timing.h"
#include "bench/real_text.h"
#include "common/utf.h"
#include "textlib/line_dedupe.h"

namespace {

constexpr int kLines = 1000000;
constexpr int kDistinct = 100000;

std::string GeneratedText() {
  std::string s;
  s.reserve(55u * kLines);
  uint32_t x = 20240601u;
  char line[160];
  for (int i = 0; i < kLines; ++i) {
    x = x * 1664525u + 1013904223u;
    const unsigned id = (x >> 8) % kDistinct;
    std::snprintf(line, sizeof line, "%u,第%05u行 user%06u@example.com 金额=%u\n", id % 977, id, id * 7 % 1000000,
                  id * 13 % 99991);
    s += line;
  }
  return s;
}

const std::string& Utf8Text(int64_t sample) {
  static const std::string generated = GeneratedText();
  static const std::string real = qzu_bench::RealChineseText(generated.size());
  return sample == 0 ? generated : real;
}

const std::u16string& Utf16Text(int64_t sample) {
  static const std::u16string generated = qzu::Utf8ToUtf16(Utf8Text(0));
  static const std::u16string real = qzu::Utf8ToUtf16(Utf8Text(1));
  return sample == 0 ? generated : real;
}

// The sample of the run from its argument `arg`; false (the run skipped)
// when it is the real text and that is missing.
bool Sample(benchmark::State& state, int arg, int64_t& sample) {
  sample = state.range(arg);
  state.SetLabel(sample == 0 ? "generated" : "real poems");
  return sample == 0 || !qzu_bench::SkipWithoutRealText(state);
}

void RunDedupe(benchmark::State& state, int sampleArg, int32_t mode, const CWString& fieldSeparator, int32_t field) {
  int64_t sample;
  if (!Sample(state, sampleArg, sample)) return;
  const std::u16string& input = Utf16Text(sample);
  size_t outputUnits = 0;
  for (auto _ : state) {
    state.PauseTiming();
    CWString text{std::u16string(input)};
    CWString separator;
    rg_Ombrine_base::rg_ZhengShuLei counter;
    state.ResumeTiming();
    DedupeLines(text, separator, mode, fieldSeparator, field, 0, 0, counter);
    outputUnits = text.GetLength();
    benchmark::DoNotOptimize(text.GetBuffer());
  }
  state.counters["out_units"] = static_cast<double>(outputUnits);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Utf8Text(sample).size()));
}

void BM_DedupeLines(benchmark::State& state) {
  RunDedupe(state, 1, static_cast<int32_t>(state.range(0)), CWString(), 0);
}
BENCHMARK(BM_DedupeLines)
    ->ArgsProduct({{kDedupeKeepFirst, kDedupeKeepUnique, kDedupeKeepSecond, 3}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_DedupeLinesKeyColumn(benchmark::State& state) { RunDedupe(state, 0, kDedupeKeepFirst, CWString(u","), 1); }
BENCHMARK(BM_DedupeLinesKeyColumn)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// The plain way: views of the lines in standard hash containers.
template <class Visit>
void ForEachLine(std::string_view text, Visit visit) {
  size_t p = 0;
  while (p < text.size()) {
    size_t e = text.find('\n', p);
    if (e == std::string_view::npos) e = text.size();
    visit(text.substr(p, e - p));
    p = e + 1;
  }
}

void Append(std::string& out, std::string_view line) {
  if (!out.empty()) out += "\r\n";
  out += line;
}

void BM_PlainHashOfViews(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, 1, sample)) return;
  const std::string& input = Utf8Text(sample);
  const int mode = static_cast<int>(state.range(0));
  size_t outputBytes = 0;
  for (auto _ : state) {
    std::string out;
    if (mode == kDedupeKeepFirst) {
      std::unordered_set<std::string_view> seen;
      ForEachLine(input, [&](std::string_view line) {
        if (seen.insert(line).second) Append(out, line);
      });
    } else {
      std::unordered_map<std::string_view, bool> again;
      ForEachLine(input, [&](std::string_view line) {
        auto [it, added] = again.try_emplace(line, false);
        if (!added && !it->second) {
          it->second = true;
          if (mode == kDedupeKeepSecond) Append(out, line);
        }
      });
      if (mode == kDedupeKeepUnique)
        ForEachLine(input, [&](std::string_view line) {
          if (!again[line]) Append(out, line);
        });
    }
    outputBytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["out_bytes"] = static_cast<double>(outputBytes);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
}
BENCHMARK(BM_PlainHashOfViews)
    ->ArgsProduct({{kDedupeKeepFirst, kDedupeKeepUnique, kDedupeKeepSecond}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_PlainHashOfViewsKeyColumn(benchmark::State& state) {
  const std::string& input = Utf8Text(0);
  for (auto _ : state) {
    std::string out;
    std::unordered_set<std::string_view> seen;
    ForEachLine(input, [&](std::string_view line) {
      if (seen.insert(line.substr(0, line.find(','))).second) Append(out, line);
    });
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
}
BENCHMARK(BM_PlainHashOfViewsKeyColumn)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- ours against the plain way, taking turns in one run ----

using qzu_bench::Median;
using qzu_bench::Milliseconds;

// The key-column case of both sides above, run one after the other in every
// iteration, with the order swapped each time, so that a change of load on
// the machine falls on both alike. The counters are the median time of each
// side and the ratio of the medians (ours over plain, under 1 when ours is
// faster); the time column, a pair with the copy of our input, is not the
// figure to read.
void BM_KeyColumnOursOverPlain(benchmark::State& state) {
  const std::u16string& input16 = Utf16Text(0);
  const std::string& input8 = Utf8Text(0);
  const CWString fieldSeparator(u",");
  std::vector<double> ours, plain;
  size_t ourLines = 0, plainLines = 0;
  bool oursFirst = true;
  for (auto _ : state) {
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == oursFirst) {
        CWString text{std::u16string(input16)};
        CWString separator;
        rg_Ombrine_base::rg_ZhengShuLei counter;
        ours.push_back(Milliseconds([&] {
          DedupeLines(text, separator, kDedupeKeepFirst, fieldSeparator, 1, 0, 0, counter);
          benchmark::DoNotOptimize(text.GetBuffer());
        }));
        ourLines = static_cast<size_t>(counter.value);
      } else {
        plain.push_back(Milliseconds([&] {
          std::string out;
          std::unordered_set<std::string_view> seen;
          plainLines = 0;
          ForEachLine(input8, [&](std::string_view line) {
            if (seen.insert(line.substr(0, line.find(','))).second) {
              Append(out, line);
              ++plainLines;
            }
          });
          benchmark::DoNotOptimize(out.data());
        }));
      }
    }
    oursFirst = !oursFirst;
  }
  if (ourLines != plainLines) state.SkipWithError("the two sides kept different numbers of lines");
  state.counters["ours_ms"] = Median(ours);
  state.counters["plain_ms"] = Median(plain);
  state.counters["ratio"] = Median(plain) > 0 ? Median(ours) / Median(plain) : 0;
}
BENCHMARK(BM_KeyColumnOursOverPlain)->Iterations(21)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- the usual commands, as whole processes, on the same text in a file ----

// The text of a sample written once to a file on tmpfs, removed at exit.
const std::string& TextFile(int64_t sample) {
  struct File {
    std::string path;
    explicit File(int64_t s) {
      const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                             : std::filesystem::temp_directory_path();
      path = (base / ("qzu_bench_dedupe_" + std::to_string(s) + ".txt")).string();
      if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(Utf8Text(s).data(), 1, Utf8Text(s).size(), f);
        std::fclose(f);
      }
    }
    ~File() { std::remove(path.c_str()); }
  };
  static const File generated(0), real(1);
  return sample == 0 ? generated.path : real.path;
}

void RunCommand(benchmark::State& state, const std::string& program) {
  int64_t sample;
  if (!Sample(state, 0, sample)) return;
  const std::string command = "LC_ALL=C " + program + " '" + TextFile(sample) + "' > /dev/null";
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (status != 0) state.SkipWithError(("the command failed: " + command).c_str());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Utf8Text(sample).size()));
}

void BM_SortUniqueCommand(benchmark::State& state) { RunCommand(state, "sort -u"); }
BENCHMARK(BM_SortUniqueCommand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_AwkUniqueCommand(benchmark::State& state) { RunCommand(state, "awk '!s[$0]++'"); }
BENCHMARK(BM_AwkUniqueCommand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace
