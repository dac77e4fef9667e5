// The html tag filter cutting whole elements out of a generated page: blocks
// of Chinese paragraphs with a script or style element between them, at four
// page sizes up to about 7.2 million UTF-16 units. The page whose elements
// alternate between two names ("script,style") gives the cut-out ranges as two
// interleaved sorted runs; it runs beside the page of one name, the same size,
// whose ranges come already sorted. Both should grow in step with the page.
// The "Real" runs fill the paragraphs with the lines of the poems of
// fortunes-zh instead of one generated sentence (skipped with a message when
// the package is missing).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>
#include <vector>

#include "bench/real_text.h"
#include "common/utf.h"
#include "textlib/html_to_text.h"
#include "textlib/sorted_pair_array.h"

namespace {

constexpr int kMaxBlocks = 100000;

// Freed memory stays with the process: each run allocates texts of many
// megabytes, and when the allocator gives them back after every run, the page
// faults of taking them again (dear in a virtual machine) swamp the filter's
// own work and its growth with the page.
const bool kKeepFreedMemory = [] {
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  return true;
}();

// The lines of the poems, for the paragraphs of the real pages.
const std::vector<std::u16string>& PoemLines() {
  static const std::vector<std::u16string> lines = [] {
    std::vector<std::u16string> out;
    const std::string& text = qzu_bench::RealChineseText();
    for (size_t p = 0, e; (e = text.find('\n', p)) != std::string::npos; p = e + 1)
      if (e > p) out.push_back(qzu::Utf8ToUtf16(std::string_view(text).substr(p, e - p)));
    return out;
  }();
  return lines;
}

// `blocks` blocks of about 72 units; the elements alternate between the two
// names given (the same name twice gives a page of one element name). With
// `real`, the paragraphs are the poems' lines in turn.
std::u16string Page(int blocks, const std::u16string& first, const std::u16string& second, bool real) {
  std::u16string page;
  page.reserve(static_cast<size_t>(blocks) * 80);
  for (int i = 0; i < blocks; ++i) {
    const std::u16string& name = i % 2 ? second : first;
    if (real) {
      page += u"<p>" + PoemLines()[static_cast<size_t>(i) % PoemLines().size()] + u"</p>\r\n";
    } else {
      page += u"<p>第" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) +
              u"段：把乱码的旧文件转换成统一的编码，一个字节也不丢。</p>\r\n";
    }
    page +=
        u"<" + name + u">var x = " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u";</" + name + u">\r\n";
  }
  return page;
}

void RunFilter(benchmark::State& state, const std::u16string& first, const std::u16string& second, bool real = false) {
  if (real && qzu_bench::SkipWithoutRealText(state)) return;
  const int blocks = static_cast<int>(state.range(0));
  const std::u16string page = Page(blocks, first, second, real);
  const CWString elements(first == second ? first : first + u"," + second);
  size_t kept = 0;
  for (auto _ : state) {
    CWString text{std::u16string(page)};
    FilterHtmlTags(text, CWString(u"-1"), CWString(), elements, CWString());
    kept = text.View().size();
    benchmark::DoNotOptimize(text);
  }
  state.counters["units"] = static_cast<double>(page.size());
  state.counters["kept"] = static_cast<double>(kept);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(page.size()));
  state.SetComplexityN(static_cast<int64_t>(page.size()));
}

// 12,500 to 100,000 blocks: about 0.9 to 7.2 million units.
void PageSizes(benchmark::internal::Benchmark* b) {
  for (int blocks = kMaxBlocks / 8; blocks <= kMaxBlocks; blocks *= 2) b->Arg(blocks);
  b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

void BM_FilterTwoInterleavedElementNames(benchmark::State& state) { RunFilter(state, u"script", u"style"); }
void BM_FilterOneElementName(benchmark::State& state) { RunFilter(state, u"script", u"script"); }
void BM_FilterTwoInterleavedElementNamesReal(benchmark::State& state) { RunFilter(state, u"script", u"style", true); }
void BM_FilterOneElementNameReal(benchmark::State& state) { RunFilter(state, u"script", u"script", true); }

BENCHMARK(BM_FilterTwoInterleavedElementNames)->Apply(PageSizes);
BENCHMARK(BM_FilterOneElementName)->Apply(PageSizes);
BENCHMARK(BM_FilterTwoInterleavedElementNamesReal)->Apply(PageSizes);
BENCHMARK(BM_FilterOneElementNameReal)->Apply(PageSizes);

// The sort alone, on the keys the two pages give: one sorted run, or two
// sorted runs whose keys interleave.
void RunSort(benchmark::State& state, bool interleaved) {
  const int32_t count = static_cast<int32_t>(state.range(0));
  rg_Ombrine_base::rg_ZhengShuShuZuLei keys, values;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t rank = interleaved ? (i < count / 2 ? 2 * i : 2 * (i - count / 2) + 1) : i;
    keys.Add(rank * 72);
    values.Add(40);
  }
  rg_Tavelkin_MingLingJi::rg_TavelkinPaiXuShuangZhengShuZuLei sorter;
  for (auto _ : state) {
    rg_Ombrine_base::rg_ZhengShuShuZuLei k = keys, v = values;
    sorter.SortPairsByKey(k, v);
    benchmark::DoNotOptimize(k);
  }
  state.SetItemsProcessed(state.iterations() * count);
  state.SetComplexityN(count);
}

void BM_SortPairsTwoInterleavedRuns(benchmark::State& state) { RunSort(state, true); }
void BM_SortPairsOneRun(benchmark::State& state) { RunSort(state, false); }

BENCHMARK(BM_SortPairsTwoInterleavedRuns)->Apply(PageSizes);
BENCHMARK(BM_SortPairsOneRun)->Apply(PageSizes);

}  // namespace
