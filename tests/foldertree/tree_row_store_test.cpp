// The tree box's row store: the bytes of its records, finding and reading
// rows and their relations (scanning and through the index tables), adding,
// inserting and replacing rows, the two state bytes, invalid rows, and the
// rows it refuses because their bytes would form the row marker.
#include <gtest/gtest.h>

#include "foldertree/tree_box_model.h"
#include "foldertree/tree_index_builders.h"
#include "tree_model_test_util.h"

namespace {

using namespace qzu_test;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kReplaceChildren;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kReplaceChildrenAsBuilt;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kReplaceRefused;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kReplaceRowAndSubtree;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeIndexKind;

std::vector<RowSpec> Rows(std::initializer_list<std::pair<const char16_t*, int>> rows) {
  std::vector<RowSpec> out;
  for (const auto& [text, level] : rows) out.push_back(RowSpec{.text = text, .level = level});
  return out;
}

TreeBoxModel ModelOf(const std::vector<RowSpec>& rows, bool shortHeaders = false) {
  TreeBoxModel model;
  model.SetShortHeaderMode(shortHeaders ? 1 : 0);
  EXPECT_EQ(AppendAll(model, rows).size(), rows.size());
  return model;
}

TEST(TreeRowStoreTest, OneRowIsItsTextMarkerAndHeader) {
  TreeBoxModel model;
  EXPECT_EQ(model.GetHeaderSize(), 26);
  EXPECT_EQ(model.GetMarkerLength(), 4);
  ASSERT_EQ(model.AppendTreeRow(u"A", 5, 7, 1, 0), 1);
  EXPECT_EQ(HexOfRows(model),
            "41 00 01 02 03 04 00 00 00 00 05 00 00 00 FF FF FF FF 07 00 00 00 01 00 FF FF FF FF FF FF FF FF");
  TreeRowLocator locator;
  ASSERT_EQ(model.FindRowRecord(0, locator, -1), 1);
  EXPECT_EQ(Items(locator), (std::vector<int>{0, 31, 0}));

  TreeBoxModel shortModel;
  shortModel.SetShortHeaderMode(1);
  EXPECT_EQ(shortModel.GetHeaderSize(), 18);
  shortModel.AppendTreeRow(u"A", 5, 7, 1, 0);
  EXPECT_EQ(HexOfRows(shortModel), "41 00 01 02 03 04 00 00 00 00 05 00 00 00 FF FF FF FF 07 00 00 00 01 00");
  // The header size is fixed once rows exist.
  EXPECT_EQ(shortModel.SetShortHeaderMode(0), 0);
  EXPECT_EQ(shortModel.GetHeaderSize(), 18);

  // An empty text puts the marker at the text start; a NUL ends a text.
  TreeBoxModel empty;
  empty.AppendTreeRow(u"", -1, 0, 0, 0);
  empty.AppendTreeRow(CWString(u"B\0C", 3), -1, 0, 0, 0);
  EXPECT_EQ(ToHex(CQzuMem(empty.RowBuffer().GetData(), 4)), "01 02 03 04");
  TreeRowLocator first, second;
  EXPECT_EQ(empty.GetRowText(0, first), u"");
  EXPECT_EQ(Items(first), (std::vector<int>{0, 29, 0}));
  EXPECT_EQ(empty.GetRowText(1, second), u"B");
  EXPECT_EQ(empty.RowBuffer().GetSize(), 62u);
}

// The four-row example: levels 0, 1, 1, 0, one character each.
class FourRowTest : public ::testing::TestWithParam<bool> {};

TEST_P(FourRowTest, OffsetsParentsSiblingsAndSubtrees) {
  TreeBoxModel model = ModelOf(Rows({{u"a", 0}, {u"b", 1}, {u"c", 1}, {u"d", 0}}));
  const bool indexed = GetParam();
  if (indexed) {
    model.StartTreeIndexWorkers();
    ASSERT_TRUE(model.IsRowOffsetIndexReady() && model.IsRowParentIndexReady() && model.IsRowSiblingIndexReady() &&
                model.IsSubtreeEndIndexReady());
  } else {
    ASSERT_FALSE(model.IsRowOffsetIndexReady());
  }
  struct Expected {
    std::vector<int> locator;
    int parent;
    std::vector<int> parentLocator;
    int parentMarker;
    int prev;
    std::vector<int> prevLocator;
    int next;
    std::vector<int> nextLocator;
    int descendants;
    std::vector<int> range;
    std::vector<int> rangeWithRow;
    int hasChildren;
  };
  const std::vector<int> none{-1, -1, -1};
  const Expected rows[] = {
      {{0, 31, 0}, -1, none, -1, -1, none, 3, {96, 127, 0}, 2, {32, 95, 1}, {0, 95, 1}, 1},
      {{32, 63, 1}, 0, {0, 31, 0}, 2, -1, none, 2, {64, 95, 1}, 0, {64, -1, 2}, {32, 63, 2}, 0},
      {{64, 95, 1}, 0, {0, 31, 0}, 2, 1, {32, 63, 1}, -1, none, 0, {96, -1, 2}, {64, 95, 2}, 0},
      {{96, 127, 0}, -1, none, -1, 0, {0, 31, 0}, -1, none, 0, {128, -1, 1}, {96, 127, 1}, 0},
  };
  for (int r = 0; r < 4; ++r) {
    SCOPED_TRACE(r);
    const Expected& e = rows[r];
    TreeRowLocator locator, parentLocator, prevLocator, nextLocator, range, rangeWithRow, fresh;
    ASSERT_EQ(model.FindRowRecord(r, locator, -1), 1);
    EXPECT_EQ(Items(locator), e.locator);
    int parentMarker = 7;
    EXPECT_EQ(model.FindParentRow(r, locator, parentLocator, &parentMarker), e.parent);
    EXPECT_EQ(Items(parentLocator), e.parentLocator);
    EXPECT_EQ(parentMarker, e.parentMarker);
    EXPECT_EQ(model.FindParentMarker(r, fresh), e.parentMarker);
    EXPECT_EQ(model.FindPrevSiblingRow(r, locator, prevLocator), e.prev);
    EXPECT_EQ(Items(prevLocator), e.prevLocator);
    EXPECT_EQ(model.FindNextSiblingRow(r, locator, nextLocator), e.next);
    EXPECT_EQ(Items(nextLocator), e.nextLocator);
    EXPECT_EQ(model.CountSubtreeRows(r, locator, range, 0), e.descendants);
    EXPECT_EQ(Items(range), e.range);
    EXPECT_EQ(model.CountSubtreeRows(r, locator, rangeWithRow, 1), e.descendants + 1);
    EXPECT_EQ(Items(rangeWithRow), e.rangeWithRow);
    EXPECT_EQ(model.HasChildRows(r, locator), e.hasChildren);
    EXPECT_EQ(model.GetRowText(r, locator), CWString(std::u16string(1, u'a' + r)));
  }
  TreeRowLocator all{0, 127, 0}, middle{32, 95, 0};
  EXPECT_EQ(model.CountRowsInRange(all), 4);
  EXPECT_EQ(model.CountRowsInRange(middle), 2);
  EXPECT_EQ(model.GetRowTextAtOffset(64), u"c");
  TreeRowLocator at;
  model.LocateRowAtOffset(96, at);
  EXPECT_EQ(Items(at), (std::vector<int>{96, 127, 0}));
}

INSTANTIATE_TEST_SUITE_P(ScanAndIndex, FourRowTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Indexed" : "Scanned"; });

TEST(TreeRowStoreTest, IndexTablesOfOneRowAndOfTheFourRowExample) {
  TreeBoxModel one = ModelOf(Rows({{u"A", 0}}));
  one.StartTreeIndexWorkers();
  const auto table = [](const TreeBoxModel& m, TreeIndexKind kind) {
    return ToHex(m.IndexRecord(kind).Latest()->first);
  };
  EXPECT_EQ(table(one, TreeIndexKind::kRowOffsets), "03 04 00 00 00 00 03 04");
  EXPECT_EQ(table(one, TreeIndexKind::kParents), "FF FF FF FF");
  EXPECT_EQ(table(one, TreeIndexKind::kSiblings), "FF FF FF FF");
  EXPECT_EQ(ToHex(one.IndexRecord(TreeIndexKind::kSiblings).Latest()->second), "00 00 00 00");
  EXPECT_EQ(table(one, TreeIndexKind::kSubtreeEnds), "00 00 00 00");

  TreeBoxModel four = ModelOf(Rows({{u"a", 0}, {u"b", 1}, {u"c", 1}, {u"d", 0}}));
  four.StartTreeIndexWorkers();
  EXPECT_EQ(table(four, TreeIndexKind::kRowOffsets),
            "03 04 00 00 00 00 03 04 20 00 00 00 03 04 40 00 00 00 03 04 60 00 00 00 03 04");
  EXPECT_EQ(table(four, TreeIndexKind::kParents), "FF FF FF FF 00 00 00 00 00 00 00 00 FF FF FF FF");
  EXPECT_EQ(table(four, TreeIndexKind::kSiblings), "FF FF FF FF FF FF FF FF 01 00 00 00 00 00 00 00");
  EXPECT_EQ(ToHex(four.IndexRecord(TreeIndexKind::kSiblings).Latest()->second),
            "03 00 00 00 02 00 00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(table(four, TreeIndexKind::kSubtreeEnds), "02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");

  EXPECT_EQ(four.GetRowTextOffset(3), 96);
  EXPECT_EQ(four.GetRowParent(2), 0);
  EXPECT_EQ(four.FindRowByTextOffset(64, -1, 0), 2);
  EXPECT_EQ(four.FindRowByTextOffset(64, 3, 1), 2);
  EXPECT_EQ(four.FindRowByTextOffset(64, 3, 0), 4);   // forward from row 3 it lies behind
  EXPECT_EQ(four.FindRowByTextOffset(65, -1, 0), 4);  // not a text start: the row count
  for (int row : {-1, 4}) {
    EXPECT_EQ(four.GetRowTextOffset(row), -1);
    EXPECT_EQ(four.GetRowParent(row), -1);
  }
}

TEST(TreeRowStoreTest, ExpandByteTransitions) {
  struct Case {
    uint8_t from, toggled, expanded, collapsed;
  };
  const Case cases[] = {{0, 2, 2, 0},     {1, 3, 3, 1},     {2, 0, 2, 0},     {3, 1, 3, 1},    {4, 4, 2, 0},
                        {127, 127, 2, 0}, {128, 128, 2, 0}, {200, 200, 2, 0}, {255, 255, 2, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.from));
    TreeBoxModel model;
    for (int i = 0; i < 6; ++i) model.AppendTreeRow(u"r", -1, 0, c.from, 0);
    TreeRowLocator l0, l1, l2, l3, l4, l5, read;
    model.SetRowExpandState(0, 0, 1, l0);
    model.SetRowExpandState(1, 1, 0, l1);
    model.SetRowExpandState(2, 0, 0, l2);
    model.SetRowFields(3, nullptr, -2, -1, l3, 1);
    model.SetRowFields(4, nullptr, 254, -1, l4, 1);  // -2 as a byte
    model.SetRowFields(5, nullptr, 255, -1, l5, 1);  // -1 as a byte: left as it is
    EXPECT_EQ(model.GetRowExpandState(0, read), c.toggled);
    EXPECT_EQ(model.GetRowExpandState(1, read = {}), c.expanded);
    EXPECT_EQ(model.GetRowExpandState(2, read = {}), c.collapsed);
    EXPECT_EQ(model.GetRowExpandState(3, read = {}), c.toggled);
    EXPECT_EQ(model.GetRowExpandState(4, read = {}), c.toggled);
    EXPECT_EQ(model.GetRowExpandState(5, read = {}), c.from);
  }
}

TEST(TreeRowStoreTest, CheckByteCyclesInBothModes) {
  struct Case {
    int mode;
    uint8_t from, cycled;
  };
  const Case cases[] = {{2, 0, 1}, {2, 1, 0}, {2, 2, 0}, {2, 3, 3},   {1, 0, 1},     {1, 1, 2},     {1, 2, 0},
                        {1, 3, 3}, {0, 2, 0}, {2, 4, 0}, {1, 126, 0}, {1, 127, 128}, {1, 200, 201}, {1, 253, 254}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " from " << static_cast<int>(c.from));
    TreeBoxModel model;
    model.SetCheckMode(c.mode);
    model.AppendTreeRow(u"r", -1, 0, 0, 0);
    TreeRowLocator locator;
    ASSERT_EQ(model.SetRowCheckState(0, c.from, 0, locator, 1), 1);
    EXPECT_EQ(model.GetRowCheckState(0, locator), c.from);
    ASSERT_EQ(model.SetRowCheckState(0, 0, 1, locator, 1), 1);
    EXPECT_EQ(model.GetRowCheckState(0, locator), c.cycled);
  }
}

TEST(TreeRowStoreTest, NewTextMovesTheHeaderAndTheNewStateBytesGoIntoIt) {
  for (bool shortHeaders : {false, true}) {
    SCOPED_TRACE(shortHeaders);
    TreeBoxModel model = ModelOf(Rows({{u"ab", 0}, {u"c", 1}}), shortHeaders);
    model.StartTreeIndexWorkers();
    const CWString same(u"xy"), longer(u"xyz");
    TreeRowLocator locator;
    // Same byte length: the tables stay current.
    ASSERT_EQ(model.SetRowFields(0, &same, 3, 2, locator, 1), 1);
    EXPECT_TRUE(model.IsRowOffsetIndexReady() && model.IsRowParentIndexReady());
    ASSERT_EQ(model.SetRowFields(0, &longer, -1, 1, locator, 1), 1);
    EXPECT_FALSE(model.IsRowOffsetIndexReady() || model.IsRowParentIndexReady() || model.IsSubtreeEndIndexReady());
    const int header = model.GetHeaderSize();
    EXPECT_EQ(Items(locator), (std::vector<int>{0, 6 + 4 + header - 1, 0}));
    std::vector<RowSpec> expected = Rows({{u"xyz", 0}, {u"c", 1}});
    expected[0].expand = 3;
    expected[0].check = 1;
    EXPECT_EQ(HexOfRows(model), qzu_test::ToHex(BytesByHand(expected, header)));
    TreeRowLocator child;
    EXPECT_EQ(model.GetRowText(1, child), u"c");
  }
}

TEST(TreeRowStoreTest, InsertTreeRowPlacesTheRowAsLastChild) {
  const std::vector<RowSpec> base = Rows({{u"a", 0}, {u"b", 1}, {u"c", 0}});
  const RowSpec inserted{.text = u"n", .icon = 5, .userValue = 9, .selectedIcon = 4};
  struct Case {
    const char* name;
    int parent;
    int result;
    int at;  // index the new row takes in the expected rows
    int level;
  };
  const Case cases[] = {{"after the last descendant", 0, 2, 2, 1},
                        {"right after a childless parent", 2, 3, 3, 1},
                        {"a root row at the end", -1, 3, 3, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TreeBoxModel model = ModelOf(base);
    RecordingHost host;
    model.SetHost(&host);
    TreeRowLocator locator;
    EXPECT_EQ(model.InsertTreeRow(c.parent, CWString(inserted.text), 5, 4, 9, locator, 0), c.result);
    std::vector<RowSpec> expected = base;
    RowSpec row = inserted;
    row.level = c.level;
    expected.insert(expected.begin() + c.at, row);
    EXPECT_EQ(HexOfRows(model), qzu_test::ToHex(BytesByHand(expected, 26)));
    EXPECT_EQ(model.GetRowCount(), 4);
    EXPECT_EQ(host.repaints, 1);
  }
  TreeBoxModel model = ModelOf(base);
  RecordingHost host;
  model.SetHost(&host);
  TreeRowLocator locator;
  EXPECT_EQ(model.InsertTreeRow(3, u"n", 5, 4, 9, locator, 0), -1);
  EXPECT_EQ(model.InsertTreeRow(0, u"n", 5, 4, 9, locator = {}, 1), 2);
  EXPECT_EQ(host.repaints, 0);  // refused, then no-repaint
}

TEST(TreeRowStoreTest, ReplaceRowChildrenInEachMode) {
  // p (expanded, bold) with children c1 (which has g) and c2; then q.
  std::vector<RowSpec> base = Rows({{u"p", 0}, {u"c1", 1}, {u"g", 2}, {u"c2", 1}, {u"q", 0}});
  base[0].expand = 3;
  const RowSpec n1{.text = u"n1", .level = 1, .icon = 5, .selectedIcon = 4};
  const RowSpec n2{.text = u"n2", .level = 2, .icon = 5, .selectedIcon = 4};
  struct Case {
    const char* name;
    int row, mode;
    bool withBatch;
    int result;
    std::vector<RowSpec> rows;
    int repaints;
  };
  RowSpec n1Open = n1;
  n1Open.expand = 3;
  const Case cases[] = {
      {"mode 2 keeps the batch's bytes", 0, kReplaceChildrenAsBuilt, true, 3, {base[0], n1, n2, base[4]}, 1},
      {"mode 1 gives the first batch row the row's expand byte",
       0,
       kReplaceChildren,
       true,
       3,
       {base[0], n1Open, n2, base[4]},
       1},
      {"mode 0 replaces the row too", 0, kReplaceRowAndSubtree, true, 4, {n1Open, n2, base[4]}, 1},
      {"mode 0 with an empty batch removes the subtree",
       1,
       kReplaceRowAndSubtree,
       false,
       2,
       {base[0], base[3], base[4]},
       1},
      {"an empty batch removes the children", 0, kReplaceChildren, false, 3, {base[0], base[4]}, 1},
      {"a childless row receives the batch silently",
       4,
       kReplaceChildrenAsBuilt,
       true,
       0,
       {base[0], base[1], base[2], base[3], base[4], n1, n2},
       0},
      {"a childless row and an empty batch", 4, kReplaceChildren, false, 0, base, 0},
      {"a row outside the rows", 5, kReplaceChildren, true, 0, base, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TreeBoxModel model = ModelOf(base);
    RecordingHost host;
    host.eventResult = 42;
    model.SetHost(&host);
    model.SetSelectedRowValue(4);
    CQzuMem batch;
    if (c.withBatch) {
      ASSERT_EQ(model.AppendRowRecord(batch, CWString(n1.text), 5, 4, 1), 1);
      ASSERT_EQ(model.AppendRowRecord(batch, CWString(n2.text), 5, 4, 2), 1);
    }
    TreeRowLocator locator;
    EXPECT_EQ(model.ReplaceRowChildren(c.row, c.mode, batch, c.withBatch ? 2 : 0, locator), c.result);
    EXPECT_EQ(HexOfRows(model), qzu_test::ToHex(BytesByHand(c.rows, 26)));
    EXPECT_EQ(model.GetRowCount(), static_cast<int>(c.rows.size()));
    EXPECT_EQ(host.repaints, c.repaints);
    // The selection is reported again, re-validated against the new rows.
    const int selected = static_cast<int>(c.rows.size()) > 4 ? 4 : -1;
    if (c.repaints)
      EXPECT_EQ(host.events, (std::vector<RecordingHost::Event>{{selected, 0, 0}}));
    else
      EXPECT_TRUE(host.events.empty());
  }
}

TEST(TreeRowStoreTest, ReplaceRowChildrenRefusesMalformedBatches) {
  const std::vector<RowSpec> base = Rows({{u"p", 0}, {u"c", 1}});
  TreeBoxModel model = ModelOf(base);
  CQzuMem batch;
  model.AppendRowRecord(batch, u"n", 5, 4, 1);
  CQzuMem cut(batch.GetData(), batch.GetSize() - 1);
  CQzuMem oddText(batch.GetData() + 1, batch.GetSize() - 1);
  struct Case {
    const char* name;
    const CQzuMem* batch;
    int count;
  };
  const Case cases[] = {{"a count other than the records", &batch, 2},
                        {"a record cut short", &cut, 1},
                        {"a text of an odd byte count", &oddText, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TreeRowLocator locator;
    EXPECT_EQ(model.ReplaceRowChildren(0, kReplaceChildren, *c.batch, c.count, locator), kReplaceRefused);
    EXPECT_EQ(HexOfRows(model), qzu_test::ToHex(BytesByHand(base, 26)));
    EXPECT_EQ(model.GetRowCount(), 2);
  }
}

TEST(TreeRowStoreTest, CollectingRows) {
  std::vector<RowSpec> rows = Rows({{u"a", 0}, {u"b", 1}, {u"x", 2}, {u"c", 1}, {u"d", 0}, {u"e", 1}});
  TreeBoxModel model = ModelOf(rows);
  TreeRowLocator found, starts, locator;
  EXPECT_EQ(model.CollectChildRows(-1, found, starts, 0), 2);
  EXPECT_EQ(Items(found), (std::vector<int>{1, 3}));
  EXPECT_EQ(Items(starts), (std::vector<int>{32, 96}));
  EXPECT_EQ(model.CollectChildRows(1, found, starts, -1), 3);
  EXPECT_EQ(Items(found), (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(model.CollectChildRows(2, found, starts, 4), 0);
  EXPECT_EQ(model.CollectChildRows(-1, found, starts, 9), 0);

  for (int r : {1, 2, 4}) model.SetRowCheckState(r, 1, 0, locator = {}, 1);
  model.SetRowCheckState(5, 2, 0, locator = {}, 1);
  CMStringArray texts;
  TreeRowLocator userValues, checkedStarts;
  EXPECT_EQ(model.CollectCheckedRows(found, &texts, &userValues, &checkedStarts), 3);
  EXPECT_EQ(Items(found), (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(texts.Items(), (std::vector<CWString>{u"b", u"x", u"d"}));
  EXPECT_EQ(Items(checkedStarts), (std::vector<int>{32, 64, 128}));
  EXPECT_EQ(model.CollectCheckedRows(found), 3);
}

TEST(TreeRowStoreTest, FavouritesRootIsTheFirstRootRowWithIconTwo) {
  for (bool indexed : {false, true}) {
    TreeBoxModel model;
    model.AppendTreeRow(u"我的电脑", 6, 0, 0, 0);
    model.AppendTreeRow(u"收藏", 2, 0, 0, 1);  // icon 2, but not a root row
    model.AppendTreeRow(u"收藏夹", 2, 0, 0, 0);
    model.AppendTreeRow(u"x", 2, 0, 0, 0);
    if (indexed) model.StartTreeIndexWorkers();
    EXPECT_EQ(model.FindFavouritesRootRow(), 2);
  }
  TreeBoxModel none;
  none.AppendTreeRow(u"a", 3, 0, 0, 0);
  EXPECT_EQ(none.FindFavouritesRootRow(), -1);
}

TEST(TreeRowStoreTest, InvalidRowsGiveTheirInvalidResults) {
  TreeBoxModel empty;
  TreeBoxModel two = ModelOf(Rows({{u"a", 0}, {u"b", 1}}));
  for (TreeBoxModel* model : {&empty, &two}) {
    const std::string before = HexOfRows(*model);
    for (int row : {-1, model->GetRowCount(), 1000}) {
      SCOPED_TRACE(testing::Message() << model->GetRowCount() << " rows, row " << row);
      TreeRowLocator l, other;
      EXPECT_EQ(model->FindRowRecord(row, l, -1), 0);
      EXPECT_EQ(model->GetRowText(row, l = {}), u"");
      EXPECT_EQ(model->GetRowLevel(row, l = {}), -1);
      EXPECT_EQ(model->GetRowIcon(row, l = {}), -1);
      EXPECT_EQ(model->GetRowSelectedIcon(row, l = {}), -1);
      EXPECT_EQ(model->GetRowUserValue(row, l = {}), 0);
      EXPECT_EQ(model->GetRowExpandState(row, l = {}), 255);
      EXPECT_EQ(model->GetRowCheckState(row, l = {}), 255);
      EXPECT_EQ(model->FindParentRow(row, l = {}, other), -1);
      EXPECT_EQ(model->FindParentMarker(row, l = {}), -1);
      EXPECT_EQ(model->FindPrevSiblingRow(row, l = {}, other), -1);
      EXPECT_EQ(model->FindNextSiblingRow(row, l = {}, other), -1);
      EXPECT_EQ(model->CountSubtreeRows(row, l = {}, other, 1), -1);
      EXPECT_EQ(model->HasChildRows(row, l = {}), 0);
      EXPECT_EQ(model->SetRowFields(row, nullptr, 2, 1, l = {}, 1), 0);
      EXPECT_EQ(model->SetRowExpandState(row, 1, 0, l = {}), 0);
      EXPECT_EQ(model->ReplaceRowChildren(row, kReplaceRowAndSubtree, CQzuMem(), 0, l = {}), 0);
      EXPECT_EQ(model->GetRowTextOffset(row), -1);
      EXPECT_EQ(model->GetRowParent(row), -1);
    }
    EXPECT_EQ(HexOfRows(*model), before);
  }
  TreeRowLocator found, starts;
  EXPECT_EQ(empty.FindFavouritesRootRow(), -1);
  EXPECT_EQ(empty.CollectChildRows(0, found, starts, -1), 0);
  EXPECT_EQ(empty.CollectCheckedRows(found), 0);
  EXPECT_EQ(empty.GetRowTextAtOffset(0), u"");

  // A locator that does not fit its row: the row's marker is not within it.
  TreeRowLocator misfit{5, 8, 0};
  EXPECT_EQ(two.GetRowLevel(0, misfit), -1);
  EXPECT_EQ(two.GetRowUserValue(0, misfit), 0);
  TreeRowLocator unchanged{1, 2, 3};
  two.LocateRowAtOffset(70, unchanged);
  EXPECT_EQ(Items(unchanged), (std::vector<int>{1, 2, 3}));
}

// Bytes 01 02 03 04 anywhere but at a marker would break every later row, so
// the store refuses them and keeps what it has.
TEST(TreeRowStoreTest, RowsThatWouldFormTheMarkerAreRefused) {
  struct Case {
    const char* name;
    std::u16string text;
    int icon, userValue;
  };
  const Case cases[] = {{"text bytes on a unit boundary", u"x\u0201\u0403y", -1, 0},
                        {"text bytes across units", u"\u0100\u0302\u0004", -1, 0},
                        {"a user value", u"x", -1, 0x04030201},
                        {"an icon", u"x", 0x04030201, 0}};
  for (bool shortHeaders : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.name << (shortHeaders ? ", short header" : ""));
      TreeBoxModel model = ModelOf(Rows({{u"a", 0}, {u"b", 1}}), shortHeaders);
      const std::string before = HexOfRows(model);
      EXPECT_EQ(model.AppendTreeRow(CWString(c.text), c.icon, c.userValue, 0, 0), 0);
      TreeRowLocator locator;
      EXPECT_EQ(model.InsertTreeRow(0, CWString(c.text), c.icon, -1, c.userValue, locator, 1), -1);
      const CWString text(c.text);
      if (c.icon == -1 && c.userValue == 0) {
        EXPECT_EQ(model.SetRowFields(1, &text, -1, -1, locator = {}, 1), 0);
      }
      CQzuMem batch;
      if (c.icon != -1) {
        EXPECT_EQ(model.AppendRowRecord(batch, CWString(c.text), c.icon, -1, 1), 0);
      }
      EXPECT_TRUE(batch.IsEmpty());
      EXPECT_EQ(HexOfRows(model), before);
      EXPECT_EQ(model.GetRowCount(), 2);
      EXPECT_EQ(model.AppendTreeRow(u"c", -1, 0, 0, 0), 1);
      EXPECT_EQ(model.GetRowText(2, locator = {}), u"c");
    }
  }
}

// In the short header the row's last two bytes are its expand and check
// bytes: expand 1 and check 2 followed by a text that starts with U+0403
// read 01 02 03 04 across the seam.
TEST(TreeRowStoreTest, MarkersAcrossRecordSeamsAreRefused) {
  TreeBoxModel model;
  model.SetShortHeaderMode(1);
  model.AppendTreeRow(u"a", -1, 0, 1, 0);
  TreeRowLocator locator;
  ASSERT_EQ(model.SetRowCheckState(0, 2, 0, locator, 1), 1);
  EXPECT_EQ(model.AppendTreeRow(u"\u0403b", -1, 0, 0, 1), 0);
  EXPECT_EQ(model.AppendTreeRow(u"b\u0403", -1, 0, 0, 1), 1);
  // The other way round: the state bytes that would meet the next text.
  model.AppendTreeRow(u"c", -1, 0, 1, 0);
  model.AppendTreeRow(u"\u0403d", -1, 0, 0, 0);
  const std::string before = HexOfRows(model);
  EXPECT_EQ(model.SetRowCheckState(2, 2, 0, locator = {}, 1), 0);
  EXPECT_EQ(model.SetRowCheckState(2, 1, 1, locator = {}, 1), 1);  // cycles 0 to 1: harmless
  EXPECT_EQ(model.SetRowCheckState(2, 1, 1, locator = {}, 1), 1);  // 1 to 0
  EXPECT_EQ(HexOfRows(model), before);
  // Removing a row that separates such a pair.
  TreeBoxModel gap;
  gap.SetShortHeaderMode(1);
  gap.AppendTreeRow(u"p", -1, 0, 1, 0);
  gap.AppendTreeRow(u"c", -1, 0, 0, 1);
  gap.AppendTreeRow(u"\u0403q", -1, 0, 0, 0);
  ASSERT_EQ(gap.SetRowCheckState(0, 2, 0, locator = {}, 1), 1);
  const std::string kept = HexOfRows(gap);
  EXPECT_EQ(gap.ReplaceRowChildren(0, kReplaceChildren, CQzuMem(), 0, locator = {}), kReplaceRefused);
  EXPECT_EQ(HexOfRows(gap), kept);
  EXPECT_EQ(gap.GetRowText(2, locator = {}), u"\u0403q");
}

}  // namespace
