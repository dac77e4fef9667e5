// Every lookup that the index tables speed up gives the plain scan's answer,
// and both give the answer an oracle computes from the levels alone, on
// seeded random trees: flat and deep, long and short headers, texts full of
// near-misses of the marker bytes.
#include <gtest/gtest.h>

#include "tree_model_test_util.h"

namespace {

using namespace qzu_test;

struct Shape {
  const char* name;
  int rows;
  int deepen;
  bool shortHeaders;
};
const Shape kShapes[] = {{"flat", 500, 8, false},
                         {"deep", 500, 75, false},
                         {"deep, short header", 500, 75, true},
                         {"bushy, short header", 500, 45, true}};

std::vector<int> Locator(int first, int last, int level) { return {first, last, level}; }

class TreeChecks {
 public:
  TreeChecks(const std::vector<RowSpec>& rows, int header) : m_rows(rows), m_o(rows, header), m_header(header) {}

  std::vector<int> RowLocator(int r) const { return Locator(m_o.textStart[r], m_o.lastByte[r], m_o.level[r]); }
  int MarkerOf(int r) const { return m_o.lastByte[r] - m_header - 4 + 1; }
  int Count() const { return static_cast<int>(m_rows.size()); }

  void Row(const TreeBoxModel& model, int r, std::mt19937& rng) const {
    const std::vector<int> none{-1, -1, -1};
    TreeRowLocator l, out;
    ASSERT_EQ(model.FindRowRecord(r, l, -1), 1);
    ASSERT_EQ(Items(l), RowLocator(r));
    // Going on from an earlier row's locator.
    const int from = static_cast<int>(rng() % (r + 1)) - 1;
    if (from >= 0) {
      TreeRowLocator earlier(RowLocator(from));
      EXPECT_EQ(model.FindRowRecord(r, earlier, from), 1);
      EXPECT_EQ(Items(earlier), RowLocator(r));
    }
    EXPECT_EQ(model.GetRowText(r, l), CWString(m_rows[r].text));
    EXPECT_EQ(model.GetRowLevel(r, l), m_rows[r].level);
    EXPECT_EQ(model.GetRowIcon(r, l), m_rows[r].icon);
    EXPECT_EQ(model.GetRowUserValue(r, l), m_rows[r].userValue);
    EXPECT_EQ(model.GetRowExpandState(r, l), m_rows[r].expand);
    EXPECT_EQ(model.GetRowCheckState(r, l), m_rows[r].check);

    const int parent = m_o.parent[r];
    int parentMarker = 0;
    EXPECT_EQ(model.FindParentRow(r, l, out, &parentMarker), parent);
    EXPECT_EQ(Items(out), parent < 0 ? none : RowLocator(parent));
    EXPECT_EQ(parentMarker, parent < 0 ? -1 : MarkerOf(parent));
    EXPECT_EQ(model.FindParentMarker(r, l), parent < 0 ? -1 : MarkerOf(parent));

    const int prev = m_o.prev[r], next = m_o.next[r];
    EXPECT_EQ(model.FindPrevSiblingRow(r, l, out), prev);
    EXPECT_EQ(Items(out), prev < 0 ? none : RowLocator(prev));
    EXPECT_EQ(model.FindNextSiblingRow(r, l, out), next);
    EXPECT_EQ(Items(out), next < 0 ? none : RowLocator(next));

    const int end = m_o.subtreeEnd[r];
    const int after = m_o.lastByte[r] + 1;
    EXPECT_EQ(model.CountSubtreeRows(r, l, out, 0), end - r);
    EXPECT_EQ(Items(out), Locator(after, end > r ? m_o.lastByte[end] : -1, m_o.level[r] + 1));
    EXPECT_EQ(model.CountSubtreeRows(r, l, out, 1), end - r + 1);
    EXPECT_EQ(Items(out), Locator(m_o.textStart[r], m_o.lastByte[end], m_o.level[r] + 1));
    EXPECT_EQ(model.HasChildRows(r, l), end > r && m_o.level[r + 1] == m_o.level[r] + 1 ? 1 : 0);

    // Ranges from a text start to a record's end, and ranges that are not.
    const int last = r + static_cast<int>(rng() % (Count() - r));
    EXPECT_EQ(model.CountRowsInRange(TreeRowLocator{m_o.textStart[r], m_o.lastByte[last], 0}), last - r + 1);
    const int x = static_cast<int>(rng() % (m_o.lastByte.back() + 1));
    const int y = x + static_cast<int>(rng() % 200);
    int inside = 0;
    for (int k = 0; k < Count(); ++k) inside += MarkerOf(k) >= x && MarkerOf(k) + 3 <= y;
    EXPECT_EQ(model.CountRowsInRange(TreeRowLocator{x, y, 0}), inside) << x << ".." << y;
  }

  void Whole(TreeBoxModel& model, std::mt19937& rng) const {
    int favourites = -1;
    for (int r = 0; r < Count() && favourites < 0; ++r)
      if (m_rows[r].level == 0 && m_rows[r].icon == 2) favourites = r;
    EXPECT_EQ(model.FindFavouritesRootRow(), favourites);

    TreeRowLocator rows, starts;
    const int start = static_cast<int>(rng() % Count());
    std::vector<int> children, childStarts;
    for (int k = start + 1; k <= m_o.subtreeEnd[start]; ++k)
      if (m_o.level[k] == m_o.level[start] + 1) {
        children.push_back(k);
        childStarts.push_back(m_o.textStart[k]);
      }
    model.CollectChildRows(-1, rows, starts, start);
    EXPECT_EQ(Items(rows), children);
    EXPECT_EQ(Items(starts), childStarts);
    std::vector<int> atLevel;
    for (int k = 0; k < Count(); ++k)
      if (m_o.level[k] == 2) atLevel.push_back(k);
    model.CollectChildRows(2, rows, starts, -1);
    EXPECT_EQ(Items(rows), atLevel);

    std::vector<int> checked;
    for (int k = 0; k < Count(); ++k)
      if (m_rows[k].check == 1) checked.push_back(k);
    model.CollectCheckedRows(rows);
    EXPECT_EQ(Items(rows), checked);

    std::vector<uint8_t> expand;
    for (const RowSpec& row : m_rows) expand.push_back(row.expand);
    RebuildVisibleRows(model);
    EXPECT_EQ(VisibleListRows(model.VisibleRowList()), m_o.VisibleRows(expand));
  }

  void IndexReads(const TreeBoxModel& model) const {
    for (int r = 0; r < Count(); ++r) {
      EXPECT_EQ(model.GetRowTextOffset(r), m_o.textStart[r]);
      EXPECT_EQ(model.GetRowParent(r), m_o.parent[r]);
      EXPECT_EQ(model.FindRowByTextOffset(m_o.textStart[r], -1, 0), r);
      EXPECT_EQ(model.FindRowByTextOffset(m_o.textStart[r], r, 1), r);
      EXPECT_EQ(model.FindRowByTextOffset(m_o.textStart[r] + 2, -1, 0), Count());
    }
  }

 private:
  const std::vector<RowSpec>& m_rows;
  TreeOracle m_o;
  int m_header;
};

TEST(TreeFastPathsTest, EveryFastPathEqualsThePlainScanOnRandomTrees) {
  int refused = 0;
  for (const Shape& shape : kShapes) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
      SCOPED_TRACE(testing::Message() << shape.name << ", seed " << seed);
      std::mt19937 rng(seed);
      TreeBoxModel scanned;
      scanned.SetShortHeaderMode(shape.shortHeaders ? 1 : 0);
      const std::vector<RowSpec> rows = BuildTree(scanned, RandomRows(rng, shape.rows, shape.deepen), &refused);
      TreeBoxModel indexed = scanned;
      indexed.StartTreeIndexWorkers();
      ASSERT_EQ(scanned.IsRowOffsetIndexReady() + scanned.IsRowParentIndexReady() + scanned.IsRowSiblingIndexReady() +
                    scanned.IsSubtreeEndIndexReady(),
                0);
      ASSERT_TRUE(indexed.IsRowOffsetIndexReady() && indexed.IsRowParentIndexReady() &&
                  indexed.IsRowSiblingIndexReady() && indexed.IsSubtreeEndIndexReady());
      const TreeChecks checks(rows, scanned.GetHeaderSize());
      for (TreeBoxModel* model : {&scanned, &indexed}) {
        SCOPED_TRACE(model == &indexed ? "indexed" : "scanned");
        std::mt19937 picks(seed);
        for (int r = 0; r < checks.Count(); ++r) checks.Row(*model, r, picks);
        for (int round = 0; round < 5; ++round) checks.Whole(*model, picks);
      }
      checks.IndexReads(indexed);
    }
  }
  // The generator's marker-like units do form markers now and then; those rows
  // were refused (and checked to be exactly the unsound ones while building).
  EXPECT_GT(refused, 0);
}

// Rows whose levels skip a step cannot be described by the level-based
// tables: those stay unbuilt and lookups keep scanning.
TEST(TreeFastPathsTest, TablesAreNotBuiltForRowsThatBreakTheLevelRule) {
  TreeBoxModel model;
  model.AppendTreeRow(u"a", -1, 0, 2, 0);
  model.AppendTreeRow(u"b", -1, 0, 2, 2);  // two levels below its predecessor
  model.AppendTreeRow(u"c", -1, 0, 2, 1);
  TreeBoxModel scanned = model;
  model.StartTreeIndexWorkers();
  EXPECT_EQ(model.IsRowOffsetIndexReady(), 1);
  EXPECT_EQ(model.IsRowParentIndexReady() + model.IsRowSiblingIndexReady() + model.IsSubtreeEndIndexReady(), 0);
  for (int r = 0; r < 3; ++r) {
    TreeRowLocator a, b, pa, pb;
    EXPECT_EQ(model.FindParentRow(r, a, pa), scanned.FindParentRow(r, b, pb));
    EXPECT_EQ(Items(pa), Items(pb));
    EXPECT_EQ(model.CountSubtreeRows(r, a, pa, 1), scanned.CountSubtreeRows(r, b, pb, 1));
    EXPECT_EQ(Items(pa), Items(pb));
  }
}

}  // namespace
