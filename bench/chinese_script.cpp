// Simplified <-> traditional conversion of a large Chinese text: one table
// lookup per code unit after the tables are built. On generated text, and on
// the real poems of fortunes-zh repeated to the same size (skipped with a
// message when the package is missing). Beside it, in the same run, the floor:
// a bare loop of one lookup per unit in a plain 64K table (built from our own
// mapping, so both give the same text on BMP characters), with no test for
// surrogates. BM_ConvertOverBareLoop runs the two by turns and reports the
// medians of both and their ratio, the figure to read.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/paired_timing.h"
#include "bench/real_text.h"
#include "common/utf.h"
#include "textlib/chinese_script.h"

namespace {

// About 50 MB of UTF-16: running text with punctuation, ASCII and a few
// supplementary characters, so the loop meets every kind of unit.
const CWString& SampleText() {
  static const CWString text = [] {
    const std::u16string paragraph =
        u"这是一段用于测试简体与繁体转换速度的中文文本，其中包括头发、发展、汉语、计算机、"
        u"电脑软件、网络设备、历史文化与经济发展等常见词语。Version 2.0 (beta) 𠮷𩸽！\r\n";
    std::u16string s;
    const size_t units = 25u * 1024 * 1024;
    s.reserve(units + paragraph.size());
    while (s.size() < units) s += paragraph;
    return CWString(std::move(s));
  }();
  return text;
}

const CWString& RealText() {
  static const CWString text(qzu::Utf8ToUtf16(qzu_bench::RealChineseText(75u << 20)));
  return text;
}

void BM_ConvertChineseScript(benchmark::State& state) {
  const bool real = state.range(1) != 0;
  if (real && qzu_bench::SkipWithoutRealText(state)) return;
  CWString text = real ? RealText() : SampleText();
  const int toTraditional = static_cast<int>(state.range(0));
  ConvertChineseScript(text, toTraditional);  // builds the table outside the timing
  for (auto _ : state) {
    ConvertChineseScript(text, toTraditional);
    benchmark::DoNotOptimize(text.Str().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.GetLength() * sizeof(char16_t)));
  state.SetLabel(std::string(toTraditional ? "to traditional" : "to simplified") +
                 (real ? ", real poems" : ", generated"));
}
BENCHMARK(BM_ConvertChineseScript)
    ->ArgsProduct({{kToTraditionalChinese, kToSimplifiedChinese}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The floor's table: every BMP unit to what the conversion makes of it alone,
// every surrogate to itself.
std::vector<char16_t> BareTable(int toTraditional) {
  std::vector<char16_t> table(0x10000);
  std::u16string all(0x10000, u'\0');
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<char16_t>(i >= 0xD800 && i < 0xE000 ? 0 : i);
  CWString units(std::move(all));
  ConvertChineseScript(units, toTraditional);
  for (size_t i = 0; i < table.size(); ++i) table[i] = i >= 0xD800 && i < 0xE000 ? static_cast<char16_t>(i) : units[i];
  return table;
}

// The floor: one lookup per code unit in a table of every BMP unit.
void BareTableLoop(CWString& text, const std::vector<char16_t>& table) {
  char16_t* s = text.Str().data();
  const size_t n = text.GetLength();
  for (size_t i = 0; i < n; ++i) s[i] = table[s[i]];
  benchmark::DoNotOptimize(text.Str().data());
}

void BM_BareTableLoop(benchmark::State& state) {
  const bool real = state.range(1) != 0;
  if (real && qzu_bench::SkipWithoutRealText(state)) return;
  const int toTraditional = static_cast<int>(state.range(0));
  const std::vector<char16_t> table = BareTable(toTraditional);
  CWString text = real ? RealText() : SampleText();
  for (auto _ : state) BareTableLoop(text, table);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.GetLength() * sizeof(char16_t)));
  state.SetLabel(std::string(toTraditional ? "to traditional" : "to simplified") +
                 (real ? ", real poems" : ", generated"));
}
BENCHMARK(BM_BareTableLoop)
    ->ArgsProduct({{kToTraditionalChinese, kToSimplifiedChinese}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

using qzu_bench::Median;
using qzu_bench::Milliseconds;

// Ours and the floor by turns: each iteration runs both, each on its own copy
// of the text, in an order that swaps every time, so that a change of load on
// the machine falls on both alike. The counters are the median time of each
// and the ratio of the medians (ours over the floor, under 1 when ours is
// faster); the time column is the pair.
void BM_ConvertOverBareLoop(benchmark::State& state) {
  const bool real = state.range(1) != 0;
  if (real && qzu_bench::SkipWithoutRealText(state)) return;
  const int toTraditional = static_cast<int>(state.range(0));
  const std::vector<char16_t> table = BareTable(toTraditional);
  CWString ourText = real ? RealText() : SampleText();
  CWString floorText = ourText;
  ConvertChineseScript(ourText, toTraditional);
  BareTableLoop(floorText, table);
  std::vector<double> ours, bare;
  bool oursFirst = true;
  for (auto _ : state) {
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == oursFirst)
        ours.push_back(Milliseconds([&] {
          ConvertChineseScript(ourText, toTraditional);
          benchmark::DoNotOptimize(ourText.Str().data());
        }));
      else
        bare.push_back(Milliseconds([&] { BareTableLoop(floorText, table); }));
    }
    oursFirst = !oursFirst;
  }
  state.counters["ours_ms"] = Median(ours);
  state.counters["floor_ms"] = Median(bare);
  state.counters["ratio"] = Median(bare) > 0 ? Median(ours) / Median(bare) : 0;
  state.SetLabel(std::string(toTraditional ? "to traditional" : "to simplified") +
                 (real ? ", real poems" : ", generated"));
}
BENCHMARK(BM_ConvertOverBareLoop)
    ->ArgsProduct({{kToTraditionalChinese, kToSimplifiedChinese}, {0, 1}})
    ->Iterations(41)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The first call of a run pays for reading OpenCC's dictionary once.
void BM_ConvertShortTextAfterTableBuilt(benchmark::State& state) {
  CWString text(u"头发发展汉语简体字转换");
  for (auto _ : state) {
    ConvertChineseScript(text, kToTraditionalChinese);
    benchmark::DoNotOptimize(text.Str().data());
  }
}
BENCHMARK(BM_ConvertShortTextAfterTableBuilt);

}  // namespace
