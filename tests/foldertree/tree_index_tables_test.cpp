// When the index tables and the visible-row list may be used: only for the
// row-buffer generation they were built for, whatever the byte length says;
// tables built from a snapshot on another thread and published under the
// record's lock; copies and the member stream form.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "common/stream.h"
#include "foldertree/tree_index_builders.h"
#include "tree_model_test_util.h"

namespace {

using namespace qzu_test;
using rg_TavelkinMingLingJi_ChuangKouZuJian::BuildRowOffsetTable;
using rg_TavelkinMingLingJi_ChuangKouZuJian::BuildRowParentTable;
using rg_TavelkinMingLingJi_ChuangKouZuJian::BuildRowSiblingTables;
using rg_TavelkinMingLingJi_ChuangKouZuJian::BuildSubtreeEndTable;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kReplaceChildrenAsBuilt;
using rg_TavelkinMingLingJi_ChuangKouZuJian::ReadTableInt32;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeIndexKind;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeIndexTables;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeModelMember;

bool AllIndexesReady(const TreeBoxModel& m) {
  return m.IsRowOffsetIndexReady() && m.IsRowParentIndexReady() && m.IsRowSiblingIndexReady() &&
         m.IsSubtreeEndIndexReady();
}
bool AnyIndexReady(const TreeBoxModel& m) {
  return m.IsRowOffsetIndexReady() || m.IsRowParentIndexReady() || m.IsRowSiblingIndexReady() ||
         m.IsSubtreeEndIndexReady();
}

// A folder row with two loaded subfolders, refreshed to one subfolder whose
// record has exactly the byte length of the two it replaces.
TEST(TreeIndexTablesTest, ARefreshToTheSameByteLengthMakesTablesAndListStale) {
  TreeBoxModel model;
  model.SetShortHeaderMode(1);
  model.AppendTreeRow(u"D:", 9, 0, 2, 0);
  model.AppendTreeRow(u"ab", 5, 0, 0, 1);
  model.AppendTreeRow(u"cd", 5, 0, 0, 1);
  model.AppendTreeRow(u"next", 9, 0, 0, 0);
  model.StartTreeIndexWorkers();
  RebuildVisibleRows(model);
  ASSERT_TRUE(AllIndexesReady(model));
  TreeRowLocator locator;
  const size_t length = model.RowBuffer().GetSize();
  const int oldStartOfRow2 = model.GetRowTextOffset(2);

  // Two records of 4 + 4 + 18 bytes become one of 30 + 4 + 18.
  CQzuMem batch;
  model.AppendRowRecord(batch, u"abcdefghijklmno", 5, 4, 1);
  ASSERT_EQ(model.ReplaceRowChildren(0, kReplaceChildrenAsBuilt, batch, 1, locator = {}), 2);
  ASSERT_EQ(model.RowBuffer().GetSize(), length);

  EXPECT_FALSE(AnyIndexReady(model));
  EXPECT_FALSE(model.IsVisibleRowListCurrent());
  EXPECT_EQ(model.GetRowText(2, locator = {}), u"next");
  TreeRowLocator parent;
  EXPECT_EQ(model.FindParentRow(1, locator = {}, parent), 0);
  EXPECT_EQ(model.FindParentRow(2, locator = {}, parent), -1);
  EXPECT_EQ(model.CountSubtreeRows(0, locator = {}, parent, 0), 1);
  RebuildVisibleRows(model);
  EXPECT_EQ(VisibleListRows(model.VisibleRowList()), (std::vector<int>{0, 1, 2}));

  model.StartTreeIndexWorkers();
  ASSERT_TRUE(AllIndexesReady(model));
  // The old table would have sent row 2 into the middle of the new text.
  EXPECT_NE(model.GetRowTextOffset(2), oldStartOfRow2);
  EXPECT_EQ(model.GetRowTextAtOffset(model.GetRowTextOffset(2)), u"next");
  EXPECT_EQ(model.GetRowParent(1), 0);
}

TEST(TreeIndexTablesTest, StateBytesKeepTheTablesAndOtherChangesDoNot) {
  TreeBoxModel model;
  model.AppendTreeRow(u"a", -1, 0, 0, 0);
  model.AppendTreeRow(u"b", -1, 0, 0, 1);
  model.StartTreeIndexWorkers();
  TreeRowLocator locator;
  model.SetRowExpandState(0, 0, 1, locator);
  model.SetRowCheckState(1, 0, 1, locator = {}, 1);
  EXPECT_TRUE(AllIndexesReady(model));
  const CWString renamed(u"bb");
  model.SetRowFields(1, &renamed, -1, -1, locator = {}, 1);
  EXPECT_FALSE(AnyIndexReady(model));
  model.StartTreeIndexWorkers();
  model.AppendTreeRow(u"c", -1, 0, 0, 0);
  EXPECT_FALSE(AnyIndexReady(model));
  model.StartTreeIndexWorkers();
  model.ClearRows();
  EXPECT_FALSE(AnyIndexReady(model));
  // An empty tree gets no tables, and starting again builds nothing new.
  model.StartTreeIndexWorkers();
  EXPECT_FALSE(AnyIndexReady(model));
  EXPECT_EQ(model.IndexRecord(TreeIndexKind::kRowOffsets).BuiltFor(), model.GetGeneration());
}

TEST(TreeIndexTablesTest, TablesFromASnapshotCountOnlyForTheirGeneration) {
  TreeBoxModel model;
  for (int i = 0; i < 4; ++i) model.AppendTreeRow(u"r", -1, 0, 0, i % 2);
  const auto snapshot = model.TakeRowSnapshot();
  const auto build = [](const rg_TavelkinMingLingJi_ChuangKouZuJian::TreeRowSnapshot& s) {
    auto tables = std::make_shared<TreeIndexTables>();
    tables->generation = s.generation;
    EXPECT_TRUE(BuildRowOffsetTable(s.View(), tables->first));
    return tables;
  };
  model.BeginIndexPass(TreeIndexKind::kRowOffsets, snapshot->generation);
  const auto early = build(*snapshot);
  // The rows moved on while the pass ran: its tables are kept but not used.
  model.AppendTreeRow(u"r", -1, 0, 0, 0);
  EXPECT_TRUE(model.PublishIndexTables(TreeIndexKind::kRowOffsets, early));
  EXPECT_EQ(model.IsRowOffsetIndexReady(), 0);
  // A newer pass has begun: the older one's tables are dropped.
  const auto now = model.TakeRowSnapshot();
  model.BeginIndexPass(TreeIndexKind::kRowOffsets, now->generation);
  EXPECT_FALSE(model.PublishIndexTables(TreeIndexKind::kRowOffsets, early));
  EXPECT_TRUE(model.PublishIndexTables(TreeIndexKind::kRowOffsets, build(*now)));
  EXPECT_EQ(model.IsRowOffsetIndexReady(), 1);
  EXPECT_EQ(model.GetRowTextOffset(4), 4 * 32);

  // A set abandon flag stops a builder.
  std::atomic<int32_t> abandon{1};
  CQzuMem table, second;
  const auto view = now->View();
  EXPECT_FALSE(BuildRowOffsetTable(view, table, &abandon));
  EXPECT_FALSE(BuildRowParentTable(view, table, &abandon));
  EXPECT_FALSE(BuildRowSiblingTables(view, table, second, &abandon));
  EXPECT_FALSE(BuildSubtreeEndTable(view, table, &abandon));
}

// A worker thread builds all four tables from a snapshot while the UI thread
// keeps reading; run under ThreadSanitizer too.
TEST(TreeIndexTablesTest, AWorkerThreadPublishesWhileTheModelIsRead) {
  TreeBoxModel model;
  std::mt19937 rng(5);
  const std::vector<RowSpec> rows = BuildTree(model, RandomRows(rng, 400, 40));
  const auto snapshot = model.TakeRowSnapshot();
  const TreeIndexKind kinds[] = {TreeIndexKind::kRowOffsets, TreeIndexKind::kParents, TreeIndexKind::kSiblings,
                                 TreeIndexKind::kSubtreeEnds};
  for (TreeIndexKind kind : kinds) model.BeginIndexPass(kind, snapshot->generation);
  std::thread worker([&model, snapshot] {
    const auto view = snapshot->View();
    auto offsets = std::make_shared<TreeIndexTables>(), parents = std::make_shared<TreeIndexTables>(),
         siblings = std::make_shared<TreeIndexTables>(), ends = std::make_shared<TreeIndexTables>();
    for (auto* t : {&offsets, &parents, &siblings, &ends}) (*t)->generation = snapshot->generation;
    BuildRowOffsetTable(view, offsets->first);
    BuildRowParentTable(view, parents->first);
    BuildRowSiblingTables(view, siblings->first, siblings->second);
    BuildSubtreeEndTable(view, ends->first);
    model.PublishIndexTables(TreeIndexKind::kRowOffsets, offsets);
    model.PublishIndexTables(TreeIndexKind::kParents, parents);
    model.PublishIndexTables(TreeIndexKind::kSiblings, siblings);
    model.PublishIndexTables(TreeIndexKind::kSubtreeEnds, ends);
  });
  const TreeOracle oracle(rows, model.GetHeaderSize());
  const int last = model.GetRowCount() - 1;
  while (!AllIndexesReady(model)) {
    TreeRowLocator locator, parent;
    ASSERT_EQ(model.FindParentRow(last, locator, parent), oracle.parent[last]);
  }
  worker.join();
  TreeRowLocator locator, parent;
  EXPECT_EQ(model.FindParentRow(last, locator, parent), oracle.parent[last]);
  EXPECT_EQ(model.GetRowTextOffset(last), oracle.textStart[last]);
}

TEST(TreeIndexTablesTest, ACopyKeepsTablesAndListAndChangesAlone) {
  TreeBoxModel source;
  source.AppendTreeRow(u"a", -1, 0, 2, 0);
  source.AppendTreeRow(u"b", -1, 0, 0, 1);
  source.StartTreeIndexWorkers();
  RebuildVisibleRows(source);
  TreeRowLocator locator;
  RecordingHost host;
  source.SetHost(&host);
  TreeBoxModel copy = source;
  EXPECT_EQ(HexOfRows(copy), HexOfRows(source));
  EXPECT_TRUE(AllIndexesReady(copy));
  EXPECT_TRUE(copy.IsVisibleRowListCurrent());
  copy.SetRowExpandState(0, 0, 1, locator = {});  // the copy has no host to repaint
  EXPECT_EQ(host.repaints, 0);
  copy.AppendTreeRow(u"c", -1, 0, 0, 0);
  EXPECT_EQ(source.GetRowCount(), 2);
  EXPECT_TRUE(AllIndexesReady(source));
  EXPECT_EQ(VisibleListRows(source.VisibleRowList()), (std::vector<int>{0, 1}));
}

const TreeModelMember kAllMembers[] = {
    TreeModelMember::kRowBuffer,      TreeModelMember::kRowMarker,         TreeModelMember::kMarkerLength,
    TreeModelMember::kHeaderSize,     TreeModelMember::kRowCount,          TreeModelMember::kRedrawEnabled,
    TreeModelMember::kCheckMode,      TreeModelMember::kPendingAction,     TreeModelMember::kShortHeaderMode,
    TreeModelMember::kSelectedRow,    TreeModelMember::kVisibleListLength, TreeModelMember::kVisibleRowCount,
    TreeModelMember::kVisibleRowList, TreeModelMember::kRowOffsetIndex,    TreeModelMember::kParentIndex,
    TreeModelMember::kSiblingIndex,   TreeModelMember::kSubtreeEndIndex,   TreeModelMember::kFifthIndex,
    TreeModelMember::kSixthIndex};

CQzuMem Saved(const TreeBoxModel& model) {
  CQzuMemStream stream;
  for (TreeModelMember member : kAllMembers) model.SaveMember(member, stream);
  EXPECT_TRUE(stream.Ok());
  return stream.Buffer();
}

TEST(TreeIndexTablesTest, MembersRoundTripThroughTheStreamForm) {
  TreeBoxModel source;
  source.SetShortHeaderMode(1);
  source.SetCheckMode(3);
  for (int i = 0; i < 5; ++i) source.AppendTreeRow(u"row", 5, i, i == 0 ? 2 : 0, i == 0 ? 0 : 1);
  source.SetSelectedRowValue(3);
  source.StartTreeIndexWorkers();
  RebuildVisibleRows(source);
  TreeRowLocator locator;
  const CQzuMem bytes = Saved(source);

  TreeBoxModel loaded;
  CQzuMemStream in(bytes);
  for (TreeModelMember member : kAllMembers) loaded.LoadMember(member, in);
  ASSERT_TRUE(in.Ok());
  EXPECT_EQ(HexOfRows(loaded), HexOfRows(source));
  EXPECT_EQ(loaded.GetRowCount(), 5);
  EXPECT_EQ(loaded.GetHeaderSize(), 18);
  EXPECT_EQ(loaded.GetCheckMode(), 3);
  EXPECT_EQ(loaded.GetSelectedRow(), 3);
  EXPECT_TRUE(loaded.IsVisibleRowListCurrent());
  EXPECT_EQ(ToHex(loaded.VisibleRowList()), ToHex(source.VisibleRowList()));
  EXPECT_TRUE(AllIndexesReady(loaded));
  EXPECT_EQ(ToHex(loaded.IndexRecord(TreeIndexKind::kSiblings).Latest()->second),
            ToHex(source.IndexRecord(TreeIndexKind::kSiblings).Latest()->second));
  EXPECT_EQ(loaded.IndexRecord(TreeIndexKind::kParents).guard.busy.load(), 0);
  EXPECT_EQ(ToHex(Saved(loaded)), ToHex(bytes));

  // Saved while stale: loaded stale, whatever the lengths.
  source.AppendTreeRow(u"x", -1, 0, 0, 0);
  TreeBoxModel stale;
  CQzuMemStream again(Saved(source));
  for (TreeModelMember member : kAllMembers) stale.LoadMember(member, again);
  EXPECT_FALSE(AnyIndexReady(stale));
  EXPECT_FALSE(stale.IsVisibleRowListCurrent());
  EXPECT_EQ(stale.GetRowText(5, locator = {}), u"x");

  // A stream that ends early.
  CQzuMemStream shortStream(bytes.GetData(), bytes.GetSize() - 3);
  TreeBoxModel partial;
  for (TreeModelMember member : kAllMembers) partial.LoadMember(member, shortStream);
  EXPECT_EQ(shortStream.GetError(), -3);
}

}  // namespace
