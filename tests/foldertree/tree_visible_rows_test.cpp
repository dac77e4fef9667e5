// The visible-row list: its bytes, its patching when a row opens or closes
// (checked against a full rebuild and an oracle on random trees), the
// selection and the row chosen event, and opening a row's ancestors.
#include <gtest/gtest.h>

#include "tree_model_test_util.h"

namespace {

using namespace qzu_test;

TEST(TreeVisibleRowsTest, EmptyTreeHasOnlyTheClosingMark) {
  TreeBoxModel model;
  TreeRowLocator locator;
  CQzuMem unused;
  EXPECT_EQ(model.BuildVisibleRowList(-1, locator, unused), 0);
  EXPECT_EQ(ToHex(model.VisibleRowList()), "03 04");
  EXPECT_TRUE(model.IsVisibleRowListCurrent());
  EXPECT_EQ(model.GetVisibleRowAt(1), -1);
  EXPECT_EQ(model.FindVisibleRowEntry(0), -1);
}

TEST(TreeVisibleRowsTest, OpeningAndClosingARowPatchesTheList) {
  TreeBoxModel model;
  RecordingHost host;
  model.SetHost(&host);
  model.AppendTreeRow(u"A", -1, 0, 0, 0);
  model.AppendTreeRow(u"B", -1, 0, 0, 1);
  EXPECT_FALSE(model.IsVisibleRowListCurrent());
  RebuildVisibleRows(model);
  EXPECT_EQ(ToHex(model.VisibleRowList()), "03 04 00 00 00 00 03 04");
  EXPECT_EQ(model.GetVisibleRowCount(), 1);
  TreeRowLocator locator;
  ASSERT_EQ(model.SetRowExpandState(0, 1, 0, locator), 1);
  EXPECT_EQ(ToHex(model.VisibleRowList()), "03 04 00 00 00 00 03 04 01 00 00 00 03 04");
  EXPECT_EQ(model.GetVisibleRowCount(), 2);
  EXPECT_EQ(model.GetVisibleRowAt(2), 1);
  EXPECT_EQ(model.GetVisibleIndexOfRow(1), 2);
  ASSERT_EQ(model.SetRowExpandState(0, 0, 0, locator), 1);
  EXPECT_EQ(ToHex(model.VisibleRowList()), "03 04 00 00 00 00 03 04");
  EXPECT_EQ(model.GetVisibleRowCount(), 1);
  EXPECT_EQ(host.repaints, 2);
  // The first shown row and a hidden one both give line 1.
  EXPECT_EQ(model.GetVisibleIndexOfRow(0), 1);
  EXPECT_EQ(model.GetVisibleIndexOfRow(1), 1);
  EXPECT_EQ(model.GetVisibleRowAt(0), -1);
  EXPECT_EQ(model.GetVisibleRowAt(2), -1);

  model.SetRedrawEnabled(0);
  model.SetRowExpandState(0, 0, 1, locator);
  EXPECT_EQ(host.repaints, 2);
}

TEST(TreeVisibleRowsTest, OpeningAHiddenRowLeavesTheListToTheNextRebuild) {
  TreeBoxModel model;
  model.AppendTreeRow(u"A", -1, 0, 0, 0);
  model.AppendTreeRow(u"B", -1, 0, 0, 1);
  model.AppendTreeRow(u"C", -1, 0, 0, 2);
  RebuildVisibleRows(model);
  model.StartTreeIndexWorkers();
  TreeRowLocator locator;
  model.SetRowExpandState(1, 1, 0, locator);
  EXPECT_FALSE(model.IsVisibleRowListCurrent());
  EXPECT_EQ(model.IsRowOffsetIndexReady(), 0);
  EXPECT_EQ(model.IsRowParentIndexReady(), 1);
  RebuildVisibleRows(model);
  EXPECT_EQ(VisibleListRows(model.VisibleRowList()), (std::vector<int>{0}));
}

TEST(TreeVisibleRowsTest, SelectingReportsTheRowAndBringsItIntoView) {
  TreeBoxModel model;
  RecordingHost host;
  host.eventResult = 5;
  model.SetHost(&host);
  for (int i = 0; i < 3; ++i) model.AppendTreeRow(u"r", -1, 0, 0, 0);
  model.SetPendingAction(2);
  EXPECT_EQ(model.SelectTreeRow(1), 5);
  EXPECT_EQ(model.GetSelectedRow(), 1);
  EXPECT_EQ(model.GetPendingAction(), 0);
  EXPECT_EQ(host.scrolledTo, (std::vector<int>{1}));
  model.SelectTreeRow(3);  // the row count: no row
  EXPECT_EQ(model.GetSelectedRow(), -1);
  EXPECT_EQ(host.events, (std::vector<RecordingHost::Event>{{1, 2, 0}, {-1, 0, 0}}));
  EXPECT_EQ(host.scrolledTo.size(), 1u);
  EXPECT_EQ(host.repaints, 1);  // a row outside the rows only repaints

  model.SetRedrawEnabled(0);
  model.SelectTreeRow(2);
  EXPECT_EQ(host.scrolledTo.size(), 1u);
  EXPECT_EQ(model.GetSelectedRow(), 2);
  for (int stale : {7, 3, -5}) {
    model.SetSelectedRowValue(stale);
    EXPECT_EQ(model.GetSelectedRow(), -1);
  }
  TreeBoxModel alone;
  EXPECT_EQ(alone.RaiseTreeBoxEvent(0, 1, 0), 0);
}

TEST(TreeVisibleRowsTest, EnsureRowVisibleOpensCollapsedAncestorsOutermostFirst) {
  struct Case {
    const char* name;
    uint8_t outer, inner, outerAfter, innerAfter;
  };
  const Case cases[] = {{"collapsed", 0, 0, 2, 2},
                        {"collapsed and bold", 1, 1, 3, 3},
                        {"a byte a toggle would leave shut", 200, 0, 2, 2},
                        {"an open outer row stays as it is", 2, 1, 2, 3}};
  for (bool indexed : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.name << (indexed ? ", indexed" : ""));
      TreeBoxModel model;
      RecordingHost host;
      model.SetHost(&host);
      model.AppendTreeRow(u"outer", -1, 0, c.outer, 0);
      model.AppendTreeRow(u"inner", -1, 0, c.inner, 1);
      model.AppendTreeRow(u"target", -1, 0, 0, 2);
      model.AppendTreeRow(u"next", -1, 0, 0, 0);
      RebuildVisibleRows(model);
      if (indexed) model.StartTreeIndexWorkers();
      TreeRowLocator locator;
      model.EnsureRowVisible(2, locator);
      EXPECT_EQ(model.GetRowExpandState(0, locator = {}), c.outerAfter);
      EXPECT_EQ(model.GetRowExpandState(1, locator = {}), c.innerAfter);
      // Each opened into a list that already showed it, so the patches kept
      // the list current.
      EXPECT_TRUE(model.IsVisibleRowListCurrent());
      EXPECT_EQ(VisibleListRows(model.VisibleRowList()), (std::vector<int>{0, 1, 2, 3}));
      EXPECT_EQ(host.scrolledTo, (std::vector<int>{2}));
      EXPECT_EQ(host.repaints, 0);
    }
  }
}

// Random runs of opening and closing rows: after every step the patched list
// equals a full rebuild and the oracle's shown rows.
TEST(TreeVisibleRowsTest, PatchedListEqualsAFullRebuildAfterRandomRuns) {
  struct Shape {
    int deepen;
    bool shortHeaders, indexed;
  };
  const Shape shapes[] = {{10, false, false}, {70, false, true}, {45, true, false}, {70, true, true}};
  static const int values[] = {-2, 0, 1, 2, 3, 4, 130, 254, 255};
  int patchedSteps = 0;
  for (const Shape& shape : shapes) {
    for (uint32_t seed = 11; seed <= 13; ++seed) {
      SCOPED_TRACE(testing::Message() << "deepen " << shape.deepen << (shape.shortHeaders ? ", short" : "")
                                      << (shape.indexed ? ", indexed" : "") << ", seed " << seed);
      std::mt19937 rng(seed);
      TreeBoxModel model;
      model.SetShortHeaderMode(shape.shortHeaders ? 1 : 0);
      const std::vector<RowSpec> rows = BuildTree(model, RandomRows(rng, 300, shape.deepen));
      const TreeOracle oracle(rows, model.GetHeaderSize());
      const int n = model.GetRowCount();
      RebuildVisibleRows(model);
      for (int step = 0; step < 300; ++step) {
        const int row = static_cast<int>(rng() % n);
        TreeRowLocator locator;
        switch (rng() % 5) {
          case 0:
            model.SetRowExpandState(row, static_cast<int>(rng() % 2), rng() % 3 == 0, locator);
            break;
          case 1:
            model.SetRowFields(row, nullptr, values[rng() % std::size(values)], -1, locator, 1);
            break;
          case 2:
            model.EnsureRowVisible(row, locator);
            break;
          case 3: {
            // A text of the same byte length keeps the list current.
            const CWString same(std::u16string(model.GetRowText(row, locator).GetLength(), u'q'));
            model.SetRowFields(row, &same, -1, -1, locator, 1);
            break;
          }
          default:
            if (shape.indexed) model.StartTreeIndexWorkers();
        }
        if (!model.IsVisibleRowListCurrent()) {
          RebuildVisibleRows(model);  // as the next paint does
          continue;
        }
        ++patchedSteps;
        TreeBoxModel rebuilt = model;
        RebuildVisibleRows(rebuilt);
        ASSERT_EQ(ToHex(model.VisibleRowList()), ToHex(rebuilt.VisibleRowList())) << "step " << step;
        ASSERT_EQ(model.GetVisibleRowCount(), rebuilt.GetVisibleRowCount());
        ASSERT_EQ(VisibleListRows(model.VisibleRowList()), oracle.VisibleRows(ExpandBytes(model)));
      }
    }
  }
  // Most steps leave the list current; those are the ones that test a patch.
  EXPECT_GT(patchedSteps, 2000);
}

}  // namespace
