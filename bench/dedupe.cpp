// Line de-duplication on a generated text of 1,000,000 lines (about 50 MB as
// UTF-8, every line repeated about ten times), in each mode, beside the same
// work done the plain way: std::string lines in std::unordered_set /
// std::unordered_map. Set QZU_DEDUPE_TEXT_FILE to a path to also write the
// text there as UTF-8 (for comparing with command-line tools).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "common/utf.h"
#include "textlib/line_dedupe.h"

namespace {

constexpr int kLines = 1000000;
constexpr int kDistinct = 100000;

const std::string& Utf8Text() {
  static const std::string text = [] {
    std::string s;
    s.reserve(55u * kLines);
    uint32_t x = 20240601u;
    char line[160];
    for (int i = 0; i < kLines; ++i) {
      x = x * 1664525u + 1013904223u;
      const unsigned id = (x >> 8) % kDistinct;
      std::snprintf(line, sizeof line, "%u,第%05u行 user%06u@example.com 金额=%u\n", id % 977, id,
                    id * 7 % 1000000, id * 13 % 99991);
      s += line;
    }
    if (const char* path = std::getenv("QZU_DEDUPE_TEXT_FILE")) {
      if (FILE* f = std::fopen(path, "wb")) {
        std::fwrite(s.data(), 1, s.size(), f);
        std::fclose(f);
      }
    }
    return s;
  }();
  return text;
}

const std::u16string& Utf16Text() {
  static const std::u16string text = qzu::Utf8ToUtf16(Utf8Text());
  return text;
}

void RunDedupe(benchmark::State& state, int32_t mode, const CWString& fieldSeparator, int32_t field) {
  const std::u16string& input = Utf16Text();
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
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Utf8Text().size()));
}

void BM_DedupeLines(benchmark::State& state) {
  RunDedupe(state, static_cast<int32_t>(state.range(0)), CWString(), 0);
}
BENCHMARK(BM_DedupeLines)
    ->Arg(kDedupeKeepFirst)
    ->Arg(kDedupeKeepUnique)
    ->Arg(kDedupeKeepSecond)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_DedupeLinesKeyColumn(benchmark::State& state) { RunDedupe(state, kDedupeKeepFirst, CWString(u","), 1); }
BENCHMARK(BM_DedupeLinesKeyColumn)->Unit(benchmark::kMillisecond)->UseRealTime();

// The plain way: one owned std::string per line, standard hash containers.
template <class Visit>
void ForEachLine(const std::string& text, Visit visit) {
  size_t p = 0;
  while (p < text.size()) {
    size_t e = text.find('\n', p);
    if (e == std::string::npos) e = text.size();
    visit(std::string(text, p, e - p));
    p = e + 1;
  }
}

void Append(std::string& out, const std::string& line) {
  if (!out.empty()) out += "\r\n";
  out += line;
}

void BM_PlainUnorderedSet(benchmark::State& state) {
  const std::string& input = Utf8Text();
  const int mode = static_cast<int>(state.range(0));
  size_t outputBytes = 0;
  for (auto _ : state) {
    std::string out;
    if (mode == kDedupeKeepFirst) {
      std::unordered_set<std::string> seen;
      ForEachLine(input, [&](std::string line) {
        if (seen.insert(line).second) Append(out, line);
      });
    } else {
      std::unordered_map<std::string, bool> again;
      ForEachLine(input, [&](std::string line) {
        auto [it, added] = again.try_emplace(std::move(line), false);
        if (!added && !it->second) {
          it->second = true;
          if (mode == kDedupeKeepSecond) Append(out, it->first);
        }
      });
      if (mode == kDedupeKeepUnique)
        ForEachLine(input, [&](std::string line) {
          if (!again[line]) Append(out, line);
        });
    }
    outputBytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["out_bytes"] = static_cast<double>(outputBytes);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
}
BENCHMARK(BM_PlainUnorderedSet)
    ->Arg(kDedupeKeepFirst)
    ->Arg(kDedupeKeepUnique)
    ->Arg(kDedupeKeepSecond)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_PlainUnorderedSetKeyColumn(benchmark::State& state) {
  const std::string& input = Utf8Text();
  for (auto _ : state) {
    std::string out;
    std::unordered_set<std::string> seen;
    ForEachLine(input, [&](std::string line) {
      if (seen.insert(line.substr(0, line.find(','))).second) Append(out, line);
    });
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
}
BENCHMARK(BM_PlainUnorderedSetKeyColumn)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
