// The tree box's rows: 200,000 rows of Chinese folder names (2 to 12
// characters), in two shapes. "flat": 200 root folders of 999 subfolders each.
// "deep": a few roots and a random walk of levels between 0 and 63, so
// subtrees are large and siblings far apart. Every lookup runs twice on the
// same rows: scanning the row buffer (no index tables) and through the index
// tables (scan:0 / indexed:1), which must give the same answers.
#include "foldertree/tree_box_model.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeBoxModel;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeRowLocator;

constexpr int kRows = 200000;

struct Lcg {
  uint32_t x;
  uint32_t Next() {
    x = x * 1664525u + 1013904223u;
    return x >> 8;
  }
};

std::vector<int> Levels(int shape) {
  std::vector<int> levels;
  Lcg rng{shape == 0 ? 7u : 11u};
  int level = 0;
  for (int i = 0; i < kRows; ++i) {
    if (shape == 0) {
      level = i % 1000 == 0 ? 0 : 1;
    } else if (i > 0) {
      const uint32_t r = rng.Next() % 100;
      if (r < 50 && level < 63)
        ++level;
      else if (r < 85 && level > 0)
        --level;
    }
    levels.push_back(level);
  }
  return levels;
}

TreeBoxModel Build(int shape) {
  TreeBoxModel model;
  model.SetShortHeaderMode(1);
  Lcg rng{42};
  const std::vector<int> levels = Levels(shape);
  for (int level : levels) {
    std::u16string name;
    const int length = 2 + static_cast<int>(rng.Next() % 11);
    for (int k = 0; k < length; ++k) name += static_cast<char16_t>(0x4E00 + rng.Next() % 0x5000);
    model.AppendTreeRow(CWString(name), 5, 0, 2, level);
  }
  return model;
}

// Built once per shape, with and without the tables.
const TreeBoxModel& Tree(int shape, bool indexed) {
  static TreeBoxModel trees[2][2] = {};
  static bool built[2] = {false, false};
  if (!built[shape]) {
    trees[shape][0] = Build(shape);
    trees[shape][1] = trees[shape][0];
    trees[shape][1].StartTreeIndexWorkers();
    built[shape] = true;
  }
  return trees[shape][indexed ? 1 : 0];
}

// Rows spread over the whole tree, the same for every run.
std::vector<int> Picks() {
  std::vector<int> rows;
  Lcg rng{99};
  for (int i = 0; i < 4096; ++i) rows.push_back(static_cast<int>(rng.Next() % kRows));
  return rows;
}

void Label(benchmark::State& state) {
  state.SetLabel(std::string(state.range(0) == 0 ? "flat" : "deep") + (state.range(1) ? " indexed" : " scan"));
}

void BM_AppendRows(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Build(static_cast<int>(state.range(0))).GetRowCount());
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_AppendRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One pass of each of the four tables.
void BM_BuildIndexTables(benchmark::State& state) {
  const TreeBoxModel& rows = Tree(static_cast<int>(state.range(0)), false);
  for (auto _ : state) {
    state.PauseTiming();
    TreeBoxModel model = rows;
    state.ResumeTiming();
    model.StartTreeIndexWorkers();
    benchmark::DoNotOptimize(model.IsRowOffsetIndexReady());
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_BuildIndexTables)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Locating a row with an empty locator.
void BM_FindRowRecord(benchmark::State& state) {
  Label(state);
  const TreeBoxModel& model = Tree(static_cast<int>(state.range(0)), state.range(1) != 0);
  const std::vector<int> rows = Picks();
  size_t i = 0;
  for (auto _ : state) {
    TreeRowLocator locator;
    benchmark::DoNotOptimize(model.FindRowRecord(rows[i++ % rows.size()], locator, -1));
  }
}
BENCHMARK(BM_FindRowRecord)->ArgsProduct({{0, 1}, {0, 1}});

// Parent, both siblings and the subtree of a row whose locator is known (the
// painting's questions for every line it draws).
void BM_RowRelations(benchmark::State& state) {
  Label(state);
  const TreeBoxModel& model = Tree(static_cast<int>(state.range(0)), state.range(1) != 0);
  const std::vector<int> rows = Picks();
  std::vector<TreeRowLocator> locators(rows.size());
  for (size_t k = 0; k < rows.size(); ++k) model.FindRowRecord(rows[k], locators[k], -1);
  size_t i = 0;
  for (auto _ : state) {
    const size_t k = i++ % rows.size();
    TreeRowLocator out;
    benchmark::DoNotOptimize(model.FindParentRow(rows[k], locators[k], out));
    benchmark::DoNotOptimize(model.FindPrevSiblingRow(rows[k], locators[k], out));
    benchmark::DoNotOptimize(model.FindNextSiblingRow(rows[k], locators[k], out));
    benchmark::DoNotOptimize(model.CountSubtreeRows(rows[k], locators[k], out, 0));
  }
}
BENCHMARK(BM_RowRelations)->ArgsProduct({{0, 1}, {0, 1}});

// The whole visible-row list: every row open, or every row closed so that
// each shown row's subtree is skipped.
void BM_RebuildVisibleRows(benchmark::State& state) {
  Label(state);
  TreeBoxModel model = Tree(static_cast<int>(state.range(0)), state.range(1) != 0);
  const bool closed = state.range(2) != 0;
  if (closed) {
    // Row by row, each located from the one before.
    TreeRowLocator locator;
    for (int r = 0; r < model.GetRowCount(); ++r) {
      model.FindRowRecord(r, locator, r - 1);
      model.SetRowFields(r, nullptr, 0, -1, locator, 1);
    }
  }
  state.SetLabel(std::string(state.range(0) == 0 ? "flat" : "deep") + (state.range(1) ? " indexed" : " scan") +
                 (closed ? ", closed" : ", open"));
  for (auto _ : state) {
    TreeRowLocator locator;
    CQzuMem unused;
    benchmark::DoNotOptimize(model.BuildVisibleRowList(-1, locator, unused));
  }
}
BENCHMARK(BM_RebuildVisibleRows)->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// Closing and opening again one row whose subtree holds about `state.range(2)`
// rows, with the visible-row list current: each is a search for the row's
// entry, a walk over its shown descendants and one move of the list's tail.
void BM_CollapseAndExpand(benchmark::State& state) {
  Label(state);
  TreeBoxModel model = Tree(static_cast<int>(state.range(0)), state.range(1) != 0);
  const int wanted = static_cast<int>(state.range(2));
  // The first row with such a subtree, found from the levels.
  const std::vector<int> levels = Levels(static_cast<int>(state.range(0)));
  int row = -1, size = 0;
  for (int r = 0; r < kRows && row < 0; ++r) {
    int end = r;
    while (end + 1 < kRows && levels[end + 1] > levels[r] && end - r < wanted * 3) ++end;
    if (end - r >= wanted && end - r < wanted * 3) {
      row = r;
      size = end - r;
    }
  }
  if (row < 0) {
    state.SkipWithError("no such subtree");
    return;
  }
  TreeRowLocator locator;
  CQzuMem unused;
  model.BuildVisibleRowList(-1, locator, unused);
  state.counters["subtree"] = size;
  for (auto _ : state) {
    TreeRowLocator l;
    model.SetRowExpandState(row, 0, 0, l);
    model.SetRowExpandState(row, 1, 0, l);
  }
  if (!model.IsVisibleRowListCurrent() || model.GetVisibleRowCount() != kRows) state.SkipWithError("list not patched");
}
BENCHMARK(BM_CollapseAndExpand)->ArgsProduct({{0}, {0, 1}, {900}});
BENCHMARK(BM_CollapseAndExpand)->ArgsProduct({{1}, {0, 1}, {10, 500, 10000, 60000}});

}  // namespace
