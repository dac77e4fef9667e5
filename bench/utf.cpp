// UTF-8 <-> UTF-16 loops of the common layer on mixed Chinese and ASCII text.
#include <benchmark/benchmark.h>

#include <string>

#include "common/utf.h"

namespace {

std::string MixedText(size_t bytes) {
  const std::string piece = "字符编码转换 charset conversion, 第12行。\r\n";
  std::string s;
  s.reserve(bytes + piece.size());
  while (s.size() < bytes) s += piece;
  return s;
}

void BM_Utf8ToUtf16(benchmark::State& state) {
  const std::string text = MixedText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(qzu::Utf8ToUtf16(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToUtf16)->Arg(1 << 20);

void BM_Utf16ToUtf8(benchmark::State& state) {
  const std::u16string text = qzu::Utf8ToUtf16(MixedText(static_cast<size_t>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(qzu::Utf16ToUtf8(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size() * 2));
}
BENCHMARK(BM_Utf16ToUtf8)->Arg(1 << 20);

}  // namespace
