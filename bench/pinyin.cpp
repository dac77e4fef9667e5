// Pinyin conversion of a 10 MB (UTF-8 size) Chinese text: CJK ideographs with
// Chinese punctuation and line breaks, the shape of an article or a novel.
// Bytes processed count the text's UTF-8 size, the size of the file a user
// converts. The "Real" runs take the poems of fortunes-zh repeated to the
// same size instead (skipped with a message when the package is missing).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/real_text.h"
#include "common/utf.h"
#include "textlib/pinyin_converter.h"

using rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei;

namespace {

struct Sample {
  std::u16string text;
  size_t utf8Bytes = 0;
};

Sample MakeChineseText(size_t target) {
  Sample s;
  uint32_t seed = 12345;
  size_t sinceComma = 0, sinceBreak = 0;
  while (s.utf8Bytes < target) {
    seed = seed * 1103515245u + 12345u;
    // Mostly the first 3,500 ideographs of the block, now and then any.
    const uint32_t r = seed >> 8;
    const char16_t c = static_cast<char16_t>(0x4E00 + ((r & 7) ? (r >> 3) % 3500 : (r >> 3) % 20902));
    s.text += c;
    s.utf8Bytes += 3;
    if (++sinceComma == 12) {
      s.text += (r & 1) ? u'，' : u'。';
      s.utf8Bytes += 3;
      sinceComma = 0;
    }
    if (++sinceBreak == 80) {
      s.text += u'\n';
      s.utf8Bytes += 1;
      sinceBreak = 0;
    }
  }
  return s;
}

const Sample& ChineseText(bool small) {
  static const Sample big = MakeChineseText(10u << 20);
  static const Sample little = MakeChineseText(1u << 20);
  return small ? little : big;
}

const Sample& RealText() {
  static const Sample real = [] {
    Sample s;
    const std::string utf8 = qzu_bench::RealChineseText(10u << 20);
    s.text = qzu::Utf8ToUtf16(utf8);
    s.utf8Bytes = utf8.size();
    return s;
  }();
  return real;
}

void RunConversion(benchmark::State& state, int capital, int tone, const char16_t* separator, int mode,
                   const char16_t* templateText, int percent, bool small = false, bool real = false) {
  if (real && qzu_bench::SkipWithoutRealText(state)) return;
  const Sample& sample = real ? RealText() : ChineseText(small);
  const CWString input(sample.text);
  const CWString sep(separator), tpl(templateText);
  rg_TavelkinHanZiPinYinLei converter;
  // The one-time build is not measured.
  converter.ConvertToPinyin(CWString(u"中"), 0, 0, sep, rg_TavelkinHanZiPinYinLei::kKeepOthers, tpl, 100);
  for (auto _ : state) {
    CWString out = converter.ConvertToPinyin(input, capital, tone, sep, mode, tpl, percent);
    benchmark::DoNotOptimize(out.GetBuffer());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(sample.utf8Bytes));
  state.counters["chars"] = static_cast<double>(sample.text.size());
}

void BM_PinyinToned(benchmark::State& state) { RunConversion(state, 0, 1, u"", 0, u"", 100); }
void BM_PinyinTonelessCapitalSeparated(benchmark::State& state) { RunConversion(state, 1, 0, u" ", 0, u"", 100); }
void BM_PinyinDropOthers(benchmark::State& state) { RunConversion(state, 0, 0, u"", 1, u"", 100); }
void BM_PinyinTemplate(benchmark::State& state) { RunConversion(state, 0, 1, u"", 3, u"汉字[拼音]", 100); }
void BM_PinyinHalfPercent(benchmark::State& state) { RunConversion(state, 0, 1, u"", 0, u"", 50); }
// The template output of 10 MB is about 64 MB: beyond glibc's largest mmap
// threshold, so every run maps fresh pages and the figure above is mostly
// page faults. One MB shows the conversion itself.
void BM_PinyinTemplate1MB(benchmark::State& state) { RunConversion(state, 0, 1, u"", 3, u"汉字[拼音]", 100, true); }
void BM_PinyinTonedReal(benchmark::State& state) { RunConversion(state, 0, 1, u"", 0, u"", 100, false, true); }
void BM_PinyinTemplateReal(benchmark::State& state) {
  RunConversion(state, 0, 1, u"", 3, u"汉字[拼音]", 100, false, true);
}

BENCHMARK(BM_PinyinToned)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PinyinTonelessCapitalSeparated)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PinyinDropOthers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PinyinTemplate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PinyinHalfPercent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PinyinTemplate1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PinyinTonedReal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PinyinTemplateReal)->Unit(benchmark::kMillisecond);

}  // namespace
