// The tree box widget on the offscreen platform, over 100,000 rows of
// Chinese folder names shaped like a disk: 20 drives, folders nested up to 9
// levels with 2 to 40 subfolders each, all expanded, plus one collapsed
// folder of 10,000 children. Measured: the first full paint of a new tree
// box (visible-row list built from scratch, the index passes started, the
// lines drawn), one scroll step once the index tables are current, opening
// the folder of 10,000 children (the visible-row list patched, then the
// paint), and the memory a tree box with a 20,000-pixel-wide row costs:
// its two painters' images (canvas_bytes) beside what images as wide as the
// content would cost (content_wide_bytes), and the growth of the process's
// peak resident size over creating and painting it (peak_rss_growth_kb).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "common/dpi.h"
#include "foldertree/tree_box.h"
#include "framework/win_form.h"

namespace {

using rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinShuXingKuang;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeBoxModel;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeRowLocator;

constexpr int kRows = 100000;
constexpr int kBigFolderChildren = 10000;

struct Lcg {
  uint32_t x;
  uint32_t Next() {
    x = x * 1664525u + 1013904223u;
    return x >> 8;
  }
};

CWString Name(Lcg& rng) {
  std::u16string name;
  const int length = 2 + static_cast<int>(rng.Next() % 9);
  for (int k = 0; k < length; ++k) name += static_cast<char16_t>(0x4E00 + rng.Next() % 0x5000);
  return CWString(name);
}

// Appends a folder and, while rows remain, its subfolders depth first.
void AddFolder(TreeBoxModel& m, Lcg& rng, int level, int& left) {
  m.AppendTreeRow(Name(rng), 5, 0, 2, level);
  --left;
  if (level >= 9) return;
  const int children = level == 0 ? 40 : static_cast<int>(rng.Next() % (level < 3 ? 40 : 8));
  for (int i = 0; i < children && left > 0; ++i) AddFolder(m, rng, level + 1, left);
}

// The rows, built once and copied into each tree box.
const TreeBoxModel& Rows() {
  static const TreeBoxModel rows = [] {
    TreeBoxModel m;
    m.SetShortHeaderMode(1);
    Lcg rng{2024};
    int left = kRows - kBigFolderChildren - 1;
    while (left > 0) AddFolder(m, rng, 0, left);
    m.AppendTreeRow(u"大目录", 5, 0, 0, 0);
    for (int i = 0; i < kBigFolderChildren; ++i) m.AppendTreeRow(Name(rng), 5, 0, 0, 1);
    return m;
  }();
  return rows;
}

// A shown form holding a tree box with the rows, painted once.
struct Window {
  CQzuWinForm form;
  rg_TavelkinShuXingKuang box;
  explicit Window(int width = 400, int height = 600) {
    form.CreateForm(nullptr, 0, 0, width + 20, height + 20);
    QApplication::processEvents();
    box.Model() = Rows();
    box.Model().SetHost(&box);
    box.checkBoxes = 1;
    box.Create(&form, 0, 0, width, height, 1);
    QApplication::processEvents();
  }
  void WaitForTables() {
    TreeBoxModel& m = box.Model();
    while (!(m.IsRowOffsetIndexReady() && m.IsRowParentIndexReady() && m.IsRowSiblingIndexReady() &&
             m.IsSubtreeEndIndexReady()))
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
};

void BM_FirstFullPaint(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>();
    window->WaitForTables();
    // As the tree box has it on its first paint: no list, no tables.
    window->box.Model().AppendTreeRow(u"末尾", 5, 0, 0, 0);
    state.ResumeTiming();
    window->box.PaintTreeBox(0);
    state.PauseTiming();
    window.reset();
    state.ResumeTiming();
  }
  state.counters["rows"] = kRows;
}
BENCHMARK(BM_FirstFullPaint)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ScrollStep(benchmark::State& state) {
  Window window;
  window.WaitForTables();
  rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinGunDongTiao1& bar = window.box.VerticalBar();
  int position = 1;
  for (auto _ : state) {
    position = position % 5000 + 1;
    bar.SetScrollBarPosition(position);  // draws the bar, which repaints the tree
  }
  state.counters["lines"] = window.box.lineRows.GetCount();
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMicrosecond);

void BM_ExpandFolderOf10000(benchmark::State& state) {
  Window window;
  window.WaitForTables();
  TreeBoxModel& m = window.box.Model();
  const int folder = kRows - kBigFolderChildren - 1;
  for (auto _ : state) {
    TreeRowLocator locator;
    m.SetRowExpandState(folder, 1, 0, locator);
    state.PauseTiming();
    m.SetRowExpandState(folder, 0, 0, locator = {});
    state.ResumeTiming();
  }
  state.counters["visible_rows_open"] = m.GetVisibleRowCount() + kBigFolderChildren;
}
BENCHMARK(BM_ExpandFolderOf10000)->Unit(benchmark::kMillisecond);

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void BM_WideRowMemory(benchmark::State& state) {
  for (auto _ : state) {
    const long before = PeakRssKb();
    CQzuWinForm form;
    form.CreateForm(nullptr, 0, 0, 520, 620);
    QApplication::processEvents();
    rg_TavelkinShuXingKuang box;
    TreeBoxModel& m = box.Model();
    m.AppendTreeRow(u"根", 5, 0, 2, 0);
    m.AppendTreeRow(CWString(std::u16string(1000, u'宽')), 5, 0, 0, 1);
    for (int i = 0; i < 40; ++i) m.AppendTreeRow(CWString::FromInt(i), 5, 0, 0, 1);
    box.leftOffset = 20000 - 15 * 1000;  // the row's right edge near x = 20,000
    box.Create(&form, 0, 0, 500, 600, 1);
    QApplication::processEvents();
    box.HorizontalBar().SetScrollBarPosition(box.HorizontalBar().positionCount);
    QApplication::processEvents();
    const long after = PeakRssKb();
    const auto bytes = [](rg_Ombrine_MFCJieMian_base::rg_painter& p) {
      return static_cast<double>(p.GetImage().sizeInBytes());
    };
    state.counters["content_width"] = box.contentWidth;
    state.counters["canvas_bytes"] = bytes(box.Canvas()) + bytes(box.Display());
    state.counters["content_wide_bytes"] = 2.0 * box.contentWidth * box.GetClientHeight() * 4;
    state.counters["peak_rss_growth_kb"] = static_cast<double>(after - before);
  }
}
BENCHMARK(BM_WideRowMemory)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
  QApplication app(argc, argv);
  SetDpiFactor(1.0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
