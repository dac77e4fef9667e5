// UTF-8 <-> UTF-16 loops of the common layer on 1 MB of text: mixed Chinese
// and ASCII (second argument 0), and the real poems of fortunes-zh (1;
// skipped with a message when the package is missing).
#include <benchmark/benchmark.h>

#include <string>

#include "bench/real_text.h"
#include "common/utf.h"

namespace {

std::string MixedText(size_t bytes) {
  const std::string piece = "字符编码转换 charset conversion, 第12行。\r\n";
  std::string s;
  s.reserve(bytes + piece.size());
  while (s.size() < bytes) s += piece;
  return s;
}

// The text of a run, its sample named in the label; empty when skipped.
std::string Sample(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0));
  if (state.range(1) == 0) {
    state.SetLabel("generated");
    return MixedText(bytes);
  }
  state.SetLabel("real poems");
  if (qzu_bench::SkipWithoutRealText(state)) return std::string();
  return qzu_bench::RealChineseText(bytes);
}

void BM_Utf8ToUtf16(benchmark::State& state) {
  const std::string text = Sample(state);
  if (text.empty()) return;
  for (auto _ : state) benchmark::DoNotOptimize(qzu::Utf8ToUtf16(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToUtf16)->Args({1 << 20, 0})->Args({1 << 20, 1});

void BM_Utf16ToUtf8(benchmark::State& state) {
  const std::string utf8 = Sample(state);
  if (utf8.empty()) return;
  const std::u16string text = qzu::Utf8ToUtf16(utf8);
  for (auto _ : state) benchmark::DoNotOptimize(qzu::Utf16ToUtf8(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size() * 2));
}
BENCHMARK(BM_Utf16ToUtf8)->Args({1 << 20, 0})->Args({1 << 20, 1});

}  // namespace
