// Charset detection and conversion on a 50 MB text, each beside the same
// work done by ICU and by glibc iconv in the same run, so the ratios hold
// whatever the machine. Each runs twice: on generated text (argument 0) and
// on real Chinese text, the poems of fortunes-zh repeated to the same size
// (argument 1; skipped with a message when the package is missing). The plain runs write into output memory
// allocated once, as the ICU and iconv runs do; the "Buffer" runs are the
// program's in-place byte-buffer converters, which allocate their result
// each time (fresh pages are costly on some virtual machines).
#include <benchmark/benchmark.h>
#include <iconv.h>
#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

#include "bench/detect_old_rule.h"
#include "bench/real_text.h"
#include "common/utf.h"
#include "platform/code_page_codec.h"
#include "textlib/charset_convert.h"
#include "textlib/charset_detect.h"
#include "textlib/charset_detect_count.h"

namespace {

constexpr size_t kTextBytes = 50u << 20;

// Chinese prose with ASCII words, digits, punctuation and line breaks, every
// character of it in GBK; about two thirds of the UTF-8 bytes are Chinese.
std::u16string GeneratedText() {
  std::mt19937 rng(7);
  std::u16string t;
  size_t utf8Bytes = 0;
  const char16_t* words[] = {u"charset", u"GBK", u"UTF-8", u"file", u"2024", u"batch"};
  while (utf8Bytes < kTextBytes) {
    const unsigned r = rng() % 100;
    if (r < 80) {
      t += static_cast<char16_t>(0x4E00 + rng() % (0x9FA5 - 0x4E00));
      utf8Bytes += 3;
    } else if (r < 88) {
      const std::u16string_view w = words[rng() % 6];
      t += w;
      t += u' ';
      utf8Bytes += w.size() + 1;
    } else if (r < 96) {
      t += (r & 1) ? u'，' : u'。';
      utf8Bytes += 3;
    } else {
      t += u"\r\n";
      utf8Bytes += 2;
    }
  }
  return t;
}

// The two samples: 0 generated, 1 the real poems (empty when missing).
const std::u16string& Text(int64_t sample) {
  static const std::u16string generated = GeneratedText();
  static const std::u16string real = qzu::Utf8ToUtf16(qzu_bench::RealChineseText(kTextBytes));
  return sample == 0 ? generated : real;
}

const std::string& Utf8Text(int64_t sample) {
  static const std::string generated = qzu::Utf16ToUtf8(Text(0));
  static const std::string real = qzu::Utf16ToUtf8(Text(1));
  return sample == 0 ? generated : real;
}

std::string GbkOf(const std::u16string& text) {
  std::string out;
  qzu::CodePageCodec(936)->Encode(text, out);
  return out;
}

const std::string& GbkText(int64_t sample) {
  static const std::string generated = GbkOf(Text(0));
  static const std::string real = GbkOf(Text(1));
  return sample == 0 ? generated : real;
}

std::string Utf16Bytes(int64_t sample) {
  return std::string(reinterpret_cast<const char*>(Text(sample).data()), Text(sample).size() * 2);
}

// The sample of the run from its argument; false (the run skipped) when it
// is the real text and that is missing.
bool Sample(benchmark::State& state, int64_t& sample) {
  sample = state.range(0);
  state.SetLabel(sample == 0 ? "generated" : "real poems");
  return sample == 0 || !qzu_bench::SkipWithoutRealText(state);
}

void Processed(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

// The in-place buffer converter the program uses, which allocates its result
// every time; the input is copied in outside the timed part.
void RunBufferConversion(benchmark::State& state, const void* data, size_t size, void (*convert)(CQzuMem&),
                         size_t countedBytes) {
  CQzuMem mem;
  for (auto _ : state) {
    state.PauseTiming();
    mem.Assign(data, size);
    state.ResumeTiming();
    convert(mem);
    benchmark::DoNotOptimize(mem.GetData());
  }
  Processed(state, countedBytes);
}

// Converts with iconv into a buffer large enough for the whole result. A
// character iconv cannot convert (glibc's GBK lacks codes the Windows table
// maps, CP936 lacks some characters of the poems) becomes `replacement`, as
// ours writes a replacement too, and the input moves on by `step` bytes; so
// iconv does the whole text, and `replaced` counts those characters.
size_t IconvAll(iconv_t cd, const std::string& in, std::string& out, size_t step, std::string_view replacement,
                int64_t& replaced) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  replaced = 0;
  while (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) && srcLeft > 0 && errno != E2BIG) {
    const size_t n = std::min(step, srcLeft);
    src += n;
    srcLeft -= n;
    if (dstLeft >= replacement.size()) {
      std::memcpy(dst, replacement.data(), replacement.size());
      dst += replacement.size();
      dstLeft -= replacement.size();
    }
    ++replaced;
  }
  return out.size() - dstLeft;
}

// The iconv runs report how many characters iconv could not convert.
void ReportReplaced(benchmark::State& state, int64_t replaced) {
  state.counters["iconv_replaced"] = static_cast<double>(replaced);
}

// ---- detection ----
// On the UTF-8 text and on its GBK form, beside the rule detection followed
// before it learnt the forms that never occur in UTF-8 (bench/detect_old_rule.h).
// Both stop once the answer is known, which on GBK text comes early; the
// "Scan" runs go to the end, as on a text whose answer stays open until its
// last bytes, and measure the counting itself.

const std::string& DetectInput(benchmark::State& state, int64_t sample, bool gbk) {
  state.SetLabel(std::string(sample == 0 ? "generated" : "real poems") + (gbk ? ", GBK" : ", UTF-8"));
  return gbk ? GbkText(sample) : Utf8Text(sample);
}

void RunDetectOurs(benchmark::State& state, bool gbk) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = DetectInput(state, sample, gbk);
  CQzuMem mem(text.data(), text.size());
  for (auto _ : state) {
    int mark = 0;
    benchmark::DoNotOptimize(DetectEncoding(mem, mark));
  }
  Processed(state, text.size());
}

void RunDetectOldRule(benchmark::State& state, bool gbk, bool stopEarly) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = DetectInput(state, sample, gbk);
  for (auto _ : state)
    benchmark::DoNotOptimize(qzu_bench::old_rule::LooksLikeUtf8(text.data(), text.size(), stopEarly));
  Processed(state, text.size());
}

void BM_Detect_Ours(benchmark::State& state) { RunDetectOurs(state, false); }
BENCHMARK(BM_Detect_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Detect_OldRule(benchmark::State& state) { RunDetectOldRule(state, false, true); }
BENCHMARK(BM_Detect_OldRule)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Detect_OursGbk(benchmark::State& state) { RunDetectOurs(state, true); }
BENCHMARK(BM_Detect_OursGbk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Detect_OldRuleGbk(benchmark::State& state) { RunDetectOldRule(state, true, true); }
BENCHMARK(BM_Detect_OldRuleGbk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The UTF-8 test of DetectEncoding (LooksLikeUtf8) made with the baseline
// scan (SSE2) that every x86-64 processor has, as on processors without AVX2;
// DetectEncoding's other steps end at once on these texts.
void RunDetectOursBaseline(benchmark::State& state, bool gbk) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = DetectInput(state, sample, gbk);
  for (auto _ : state) {
    const Utf8Counts counts = CountUtf8SequencesWith(kUtf8ScanBaseline, text.data(), text.size(), kValidPerBadByte);
    benchmark::DoNotOptimize(counts.valid > 0 && counts.invalid * kValidPerBadByte <= counts.valid);
  }
  Processed(state, text.size());
}

void BM_Detect_OursBaseline(benchmark::State& state) { RunDetectOursBaseline(state, false); }
BENCHMARK(BM_Detect_OursBaseline)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Detect_OursBaselineGbk(benchmark::State& state) { RunDetectOursBaseline(state, true); }
BENCHMARK(BM_Detect_OursBaselineGbk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The scan of the widest instruction set this processor has, and of the
// baseline (SSE2) that every x86-64 processor has.
void RunDetectScanOurs(benchmark::State& state, int instructionSet, bool gbk) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = DetectInput(state, sample, gbk);
  for (auto _ : state) benchmark::DoNotOptimize(CountUtf8SequencesWith(instructionSet, text.data(), text.size(), 0));
  Processed(state, text.size());
}

int WidestScan() { return Utf8ScanAvailable(kUtf8ScanAvx2) ? kUtf8ScanAvx2 : kUtf8ScanBaseline; }

void BM_DetectScan_Ours(benchmark::State& state) { RunDetectScanOurs(state, WidestScan(), false); }
BENCHMARK(BM_DetectScan_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DetectScan_OursBaseline(benchmark::State& state) { RunDetectScanOurs(state, kUtf8ScanBaseline, false); }
BENCHMARK(BM_DetectScan_OursBaseline)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DetectScan_OldRule(benchmark::State& state) { RunDetectOldRule(state, false, false); }
BENCHMARK(BM_DetectScan_OldRule)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DetectScan_OursGbk(benchmark::State& state) { RunDetectScanOurs(state, WidestScan(), true); }
BENCHMARK(BM_DetectScan_OursGbk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DetectScan_OursBaselineGbk(benchmark::State& state) { RunDetectScanOurs(state, kUtf8ScanBaseline, true); }
BENCHMARK(BM_DetectScan_OursBaselineGbk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DetectScan_OldRuleGbk(benchmark::State& state) { RunDetectOldRule(state, true, false); }
BENCHMARK(BM_DetectScan_OldRuleGbk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Detect_IcuDetector(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = Utf8Text(sample);
  UErrorCode err = U_ZERO_ERROR;
  UCharsetDetector* det = ucsdet_open(&err);
  for (auto _ : state) {
    ucsdet_setText(det, text.data(), static_cast<int32_t>(text.size()), &err);
    benchmark::DoNotOptimize(ucsdet_detect(det, &err));
  }
  ucsdet_close(det);
  Processed(state, text.size());
}
BENCHMARK(BM_Detect_IcuDetector)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ---- UTF-8 -> UTF-16 ----

void BM_Utf8ToUtf16_Ours(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = Utf8Text(sample);
  std::u16string out(text.size(), u'\0');
  for (auto _ : state) benchmark::DoNotOptimize(qzu::Utf8ToUtf16(text.data(), text.size(), out.data()));
  Processed(state, text.size());
}
BENCHMARK(BM_Utf8ToUtf16_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Utf8ToUtf16_OursBuffer(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const auto& text = Utf8Text(sample);
  RunBufferConversion(state, text.data(), text.size(), &Utf8ToUtf16, text.size());
}
BENCHMARK(BM_Utf8ToUtf16_OursBuffer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Utf8ToUtf16_Icu(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = Utf8Text(sample);
  std::u16string out(text.size(), u'\0');
  for (auto _ : state) {
    UErrorCode err = U_ZERO_ERROR;
    int32_t n = 0;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &n, text.data(),
                         static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &err);
    benchmark::DoNotOptimize(n);
  }
  Processed(state, text.size());
}
BENCHMARK(BM_Utf8ToUtf16_Icu)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Utf8ToUtf16_Iconv(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = Utf8Text(sample);
  std::string out(text.size() * 2, '\0');
  iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
  int64_t replaced = 0;
  for (auto _ : state) benchmark::DoNotOptimize(IconvAll(cd, text, out, 1, "\xFD\xFF", replaced));
  iconv_close(cd);
  ReportReplaced(state, replaced);
  Processed(state, text.size());
}
BENCHMARK(BM_Utf8ToUtf16_Iconv)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ---- UTF-16 -> UTF-8 (bytes counted on the UTF-16 side) ----

void BM_Utf16ToUtf8_Ours(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::u16string& text = Text(sample);
  std::string out(text.size() * 3, '\0');
  for (auto _ : state) benchmark::DoNotOptimize(qzu::Utf16ToUtf8(text.data(), text.size(), out.data()));
  Processed(state, text.size() * 2);
}
BENCHMARK(BM_Utf16ToUtf8_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Utf16ToUtf8_OursBuffer(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const auto& text = Text(sample);
  RunBufferConversion(state, text.data(), text.size() * 2, &Utf16ToUtf8, text.size() * 2);
}
BENCHMARK(BM_Utf16ToUtf8_OursBuffer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Utf16ToUtf8_Icu(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::u16string& text = Text(sample);
  std::string out(text.size() * 3, '\0');
  for (auto _ : state) {
    UErrorCode err = U_ZERO_ERROR;
    int32_t n = 0;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &n, reinterpret_cast<const UChar*>(text.data()),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &err);
    benchmark::DoNotOptimize(n);
  }
  Processed(state, text.size() * 2);
}
BENCHMARK(BM_Utf16ToUtf8_Icu)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Utf16ToUtf8_Iconv(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string in = Utf16Bytes(sample);
  std::string out(in.size() * 2, '\0');
  iconv_t cd = iconv_open("UTF-8", "UTF-16LE");
  int64_t replaced = 0;
  for (auto _ : state) benchmark::DoNotOptimize(IconvAll(cd, in, out, 2, "\xEF\xBF\xBD", replaced));
  iconv_close(cd);
  ReportReplaced(state, replaced);
  Processed(state, in.size());
}
BENCHMARK(BM_Utf16ToUtf8_Iconv)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ---- GBK -> UTF-16 ----

void BM_GbkToUtf16_Ours(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = GbkText(sample);
  auto codec = qzu::CodePageCodec(936);
  std::u16string out(codec->MaxUnits(text.size()), u'\0');
  for (auto _ : state) benchmark::DoNotOptimize(codec->DecodeInto(text, out.data()));
  Processed(state, text.size());
}
BENCHMARK(BM_GbkToUtf16_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GbkToUtf16_OursBuffer(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const auto& text = GbkText(sample);
  RunBufferConversion(state, text.data(), text.size(), &AnsiToUtf16, text.size());
}
BENCHMARK(BM_GbkToUtf16_OursBuffer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GbkToUtf16_Icu(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = GbkText(sample);
  UErrorCode err = U_ZERO_ERROR;
  UConverter* cnv = ucnv_open("windows-936", &err);
  std::u16string out(text.size(), u'\0');
  for (auto _ : state) {
    err = U_ZERO_ERROR;
    benchmark::DoNotOptimize(ucnv_toUChars(cnv, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                                           text.data(), static_cast<int32_t>(text.size()), &err));
  }
  ucnv_close(cnv);
  Processed(state, text.size());
}
BENCHMARK(BM_GbkToUtf16_Icu)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GbkToUtf16_Iconv(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = GbkText(sample);
  std::string out(text.size() * 2, '\0');
  iconv_t cd = iconv_open("UTF-16LE", "CP936");
  int64_t replaced = 0;
  for (auto _ : state) benchmark::DoNotOptimize(IconvAll(cd, text, out, 1, "\xFD\xFF", replaced));
  iconv_close(cd);
  ReportReplaced(state, replaced);
  Processed(state, text.size());
}
BENCHMARK(BM_GbkToUtf16_Iconv)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// GBK straight to UTF-8, the way a file conversion without a function goes,
// beside iconv's single step.
void BM_GbkToUtf8_Ours(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = GbkText(sample);
  auto codec = qzu::CodePageCodec(936);
  std::string out(codec->MaxUtf8Bytes(text.size()), '\0');
  for (auto _ : state) benchmark::DoNotOptimize(codec->DecodeToUtf8Into(text, out.data()));
  Processed(state, text.size());
}
BENCHMARK(BM_GbkToUtf8_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GbkToUtf8_Iconv(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string& text = GbkText(sample);
  std::string out(text.size() * 3, '\0');
  iconv_t cd = iconv_open("UTF-8", "CP936");
  int64_t replaced = 0;
  for (auto _ : state) benchmark::DoNotOptimize(IconvAll(cd, text, out, 1, "\xEF\xBF\xBD", replaced));
  iconv_close(cd);
  ReportReplaced(state, replaced);
  Processed(state, text.size());
}
BENCHMARK(BM_GbkToUtf8_Iconv)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ---- UTF-16 -> GBK (bytes counted on the GBK side, as for the decode) ----

void BM_Utf16ToGbk_Ours(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::u16string& text = Text(sample);
  auto codec = qzu::CodePageCodec(936);
  std::string out(codec->MaxBytes(text.size()), '\0');
  for (auto _ : state) benchmark::DoNotOptimize(codec->EncodeInto(text, out.data()));
  Processed(state, GbkText(sample).size());
}
BENCHMARK(BM_Utf16ToGbk_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Utf16ToGbk_OursBuffer(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const auto& text = Text(sample);
  RunBufferConversion(state, text.data(), text.size() * 2, &Utf16ToAnsi, GbkText(sample).size());
}
BENCHMARK(BM_Utf16ToGbk_OursBuffer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Utf16ToGbk_Icu(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::u16string& text = Text(sample);
  UErrorCode err = U_ZERO_ERROR;
  UConverter* cnv = ucnv_open("windows-936", &err);
  ucnv_setFallback(cnv, true);
  std::string out(text.size() * 2 + 16, '\0');
  for (auto _ : state) {
    err = U_ZERO_ERROR;
    benchmark::DoNotOptimize(ucnv_fromUChars(cnv, out.data(), static_cast<int32_t>(out.size()),
                                             reinterpret_cast<const UChar*>(text.data()),
                                             static_cast<int32_t>(text.size()), &err));
  }
  ucnv_close(cnv);
  Processed(state, GbkText(sample).size());
}
BENCHMARK(BM_Utf16ToGbk_Icu)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Utf16ToGbk_Iconv(benchmark::State& state) {
  int64_t sample;
  if (!Sample(state, sample)) return;
  const std::string in = Utf16Bytes(sample);
  std::string out(in.size() + 16, '\0');
  iconv_t cd = iconv_open("CP936", "UTF-16LE");
  int64_t replaced = 0;
  for (auto _ : state) benchmark::DoNotOptimize(IconvAll(cd, in, out, 2, "?", replaced));
  iconv_close(cd);
  ReportReplaced(state, replaced);
  Processed(state, GbkText(sample).size());
}
BENCHMARK(BM_Utf16ToGbk_Iconv)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// Per-call cost of the whole route on a short text, as the URL codec and the
// settings store convert many small pieces.
void BM_ConvertCharset_ShortAnsiToUtf8(benchmark::State& state) {
  const std::string gbk = GbkText(0).substr(0, 64);
  CQzuMem mem;
  const CWString from(u"ANSI"), to(u"UTF-8");
  for (auto _ : state) {
    mem.Assign(gbk.data(), gbk.size());
    ConvertCharset(mem, from, to, 0);
    benchmark::DoNotOptimize(mem.GetData());
  }
  Processed(state, gbk.size());
}
BENCHMARK(BM_ConvertCharset_ShortAnsiToUtf8);

void BM_ConvertCharset_ShortBig5ToUtf16(benchmark::State& state) {
  const std::string big5 = "\xA4\xA4\xA4\xE5\xA6\x72\xB2\xC5\xBD\x58 big5 text";
  CQzuMem mem;
  const CWString from(u"big5"), to(u"UTF-16");
  for (auto _ : state) {
    mem.Assign(big5.data(), big5.size());
    ConvertCharset(mem, from, to, 0);
    benchmark::DoNotOptimize(mem.GetData());
  }
  Processed(state, big5.size());
}
BENCHMARK(BM_ConvertCharset_ShortBig5ToUtf16);

}  // namespace
