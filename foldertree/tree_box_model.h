#pragma once
// TreeBoxModel: the rows of the tree box, with no window. It keeps every row
// as a record in one byte buffer in display order (tree_row_format.h), the
// list of shown rows (tree_visible_rows.h), the selection, and the index
// tables (tree_index_record.h) that answer lookups without scanning. The tree
// box widget embeds one model and reaches the window through the host it
// sets (repaint, scrolling, the row chosen event); the folder tree reads rows
// only through the model.
//
// Rows and locators. Row numbers count from 0 in display order; adding or
// removing rows renumbers the rows after the change. A locator is an integer
// array [text start, last header byte, level] describing one record, or for a
// range operation a byte range. Every row operation takes one: an array with
// fewer than two entries is filled on the way (and left filled for the
// caller); a filled one is trusted to describe the row. A locator goes stale
// when bytes before or inside it change.
//
// Results. Nothing is reported to the user. A row outside 0 .. row count - 1,
// a locator that does not fit its row, or a search that finds nothing gives
// -1 (levels, icons, row numbers, positions), 0 (user values, counts, success
// flags), 255 (state bytes) or an empty text, and changes nothing.
//
// The marker. Its bytes may occur in the buffer only as row markers; a row
// whose text or header would form them anywhere (inside the record or across
// its seams with the neighbouring records) would make every later row
// unreadable. Every operation that writes bytes checks the bytes it touches
// and refuses such a change: adding gives its failure value (the caller
// skips that row) and changing gives 0, with the buffer untouched.
//
// Generations. A counter bumped by every change of the rows' shape: appends,
// inserts, replacements and removals, texts of another byte length, clearing
// and loading. The visible-row list and each index table are current only for
// the generation they were built for. State bytes and texts of equal length
// keep them current.
//
// Lookups use an index when it is current and scan the buffer otherwise; both
// give the same answers. Index passes run synchronously in
// StartTreeIndexWorkers; the tree box runs them on workers instead
// (tree_index_workers.h), which build the same tables from a TakeRowSnapshot
// copy and hand them to PublishIndexTables.
//
// Threads: UI thread only, except TakeRowSnapshot's result,
// PublishIndexTables and IndexGuard, which an index worker may use on its
// own thread.
#include <cstdint>
#include <memory>

#include "common/arrays.h"
#include "common/mem.h"
#include "common/stream.h"
#include "common/wstring.h"
#include "foldertree/tree_index_record.h"
#include "foldertree/tree_row_format.h"
#include "foldertree/tree_row_scan.h"
#include "foldertree/tree_visible_rows.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

using TreeRowLocator = rg_Ombrine_base::rg_ZhengShuShuZuLei;

// What the tree box widget does for the model. All calls come on the UI
// thread, inside the model operation that makes them.
class ITreeBoxModelHost {
 public:
  virtual ~ITreeBoxModelHost() = default;
  // Repaint the whole tree box (PaintTreeBox with -1). The model asks only
  // while redraw is enabled.
  virtual void RepaintTreeBox() = 0;
  // The scrolling steps of EnsureRowVisible, after the model expanded the
  // row's collapsed ancestors: bring the row onto the screen.
  virtual void ScrollRowIntoView(int row) = 0;
  // The row chosen event: calls the connected handler with (row, how,
  // same-row flag) and returns its result, 0 when nothing is connected.
  virtual intptr_t RaiseRowChosenEvent(int row, int action, int flag) = 0;
};

// ReplaceRowChildren modes.
inline constexpr int kReplaceRowAndSubtree = 0;  // the row itself goes too; the batch's first row takes its expand byte
inline constexpr int kReplaceChildren = 1;  // only the descendants; the batch's first row takes the row's expand byte
inline constexpr int kReplaceChildrenAsBuilt = 2;  // only the descendants; the batch keeps its expand bytes
// ReplaceRowChildren's result for a batch that is not a run of well-formed
// records of the given count, or whose bytes would form a marker.
inline constexpr int kReplaceRefused = -1;

// A copy of the rows at one generation, for an index worker.
struct TreeRowSnapshot {
  CQzuMem rows;
  CQzuMem marker;
  int headerSize = 0;
  int rowCount = 0;
  int64_t generation = -1;
  TreeRowsView View() const;
};

// Members of the model that the tree box's stream form writes, each at its
// place among the widget's own members.
enum class TreeModelMember {
  kRowBuffer,
  kRowMarker,
  kMarkerLength,
  kHeaderSize,
  kRowCount,
  kRedrawEnabled,
  kCheckMode,
  kPendingAction,
  kShortHeaderMode,
  kSelectedRow,
  kVisibleListLength,
  kVisibleRowCount,
  kVisibleRowList,
  kRowOffsetIndex,
  kParentIndex,
  kSiblingIndex,
  kSubtreeEndIndex,
  kFifthIndex,
  kSixthIndex,
};

class TreeBoxModel {
 public:
  TreeBoxModel();
  // A copy has the same rows, lists, tables and flags, and no host.
  TreeBoxModel(const TreeBoxModel& other);
  TreeBoxModel& operator=(const TreeBoxModel& other);

  void SetHost(ITreeBoxModelHost* host) { m_host = host; }

  // --- Settings -----------------------------------------------------------
  int GetRowCount() const { return m_rowCount; }
  // The records as bytes, for tests and diagnostics; questions about rows go
  // through the operations below, which know when the bytes changed shape.
  const CQzuMem& RowBuffer() const { return m_rows; }
  int GetHeaderSize() const { return m_headerSize; }
  int GetMarkerLength() const { return m_markerLength; }
  int GetShortHeaderMode() const { return m_shortHeaderMode; }
  // Headers of 18 bytes without colours (non-zero) or of 26. Only while the
  // tree has no rows; 0 when rows exist.
  int SetShortHeaderMode(int shortHeaders);
  int GetCheckMode() const { return m_checkMode; }
  void SetCheckMode(int mode) { m_checkMode = mode; }
  int GetRedrawEnabled() const { return m_redrawEnabled; }
  void SetRedrawEnabled(int enabled) { m_redrawEnabled = enabled; }
  int64_t GetGeneration() const { return m_generation; }

  // --- Adding and removing rows ---------------------------------------------
  // Appends a record (selected icon -1, check byte 0); no repaint, no check of
  // the level rule. 1, or 0 when refused.
  int AppendTreeRow(const CWString& text, int icon, int userValue, int expandByte, int level);
  // Appends a record in this model's format to a separate batch for
  // ReplaceRowChildren (user value, expand and check byte 0). 1, or 0 when
  // refused. The model is not touched.
  int AppendRowRecord(CQzuMem& batch, const CWString& text, int icon, int selectedIcon, int level) const;
  // Inserts a row as the last child of `parentRow` (a root row at the end
  // when it is negative) and returns its row number; -1 when the parent
  // cannot be located or the row is refused. Repaints unless `noRepaint`.
  int InsertTreeRow(int parentRow, const CWString& text, int icon, int selectedIcon, int userValue,
                    TreeRowLocator& parentLocator, int noRepaint);
  // Replaces the row and its subtree (kReplaceRowAndSubtree) or its
  // descendants by the batch's `batchRowCount` records; an empty batch
  // removes them. Returns the number of rows removed: 0 for a row outside
  // the rows, and when a row without descendants just receives the batch (no
  // repaint, no event then); kReplaceRefused for a refused batch. Otherwise
  // it repaints and reports the selection again through the row chosen event.
  int ReplaceRowChildren(int row, int mode, const CQzuMem& batch, int batchRowCount, TreeRowLocator& locator);
  // Empties the rows (the folder tree's rebuild). The selection is left to
  // the caller.
  void ClearRows();

  // --- Finding rows ---------------------------------------------------------
  // 1 and the locator of row n, or 0. A filled locator is taken as row
  // `startRow`'s record and the search goes on after it.
  int FindRowRecord(int row, TreeRowLocator& locator, int startRow) const;
  // The locator of the row whose text starts at `textStart`; unchanged when
  // no marker follows.
  void LocateRowAtOffset(int textStart, TreeRowLocator& locator) const;
  // Markers lying wholly in [first byte, last byte] of the range.
  int CountRowsInRange(const TreeRowLocator& range) const;
  // The first root row with icon 2 (the folder tree's favourites), or -1.
  int FindFavouritesRootRow() const;

  // --- Reading rows ---------------------------------------------------------
  CWString GetRowText(int row, TreeRowLocator& locator) const;
  int GetRowLevel(int row, TreeRowLocator& locator) const;
  int GetRowIcon(int row, TreeRowLocator& locator) const;
  int GetRowSelectedIcon(int row, TreeRowLocator& locator) const;
  int GetRowUserValue(int row, TreeRowLocator& locator) const;
  int GetRowExpandState(int row, TreeRowLocator& locator) const;
  int GetRowCheckState(int row, TreeRowLocator& locator) const;
  // -1 (the tree box's default) for an invalid row and in the short header.
  int GetRowTextColour(int row, TreeRowLocator& locator) const;
  int GetRowBackgroundColour(int row, TreeRowLocator& locator) const;
  // The text from `textStart` up to the next marker.
  CWString GetRowTextAtOffset(int textStart) const;

  // --- Relations --------------------------------------------------------------
  // The parent row (-1 for a root row); fills the parent's locator ([-1, -1,
  // -1] when none) and, when given, the byte position of its marker.
  int FindParentRow(int row, TreeRowLocator& locator, TreeRowLocator& parentLocator, int* parentMarker = nullptr) const;
  int FindParentMarker(int row, TreeRowLocator& locator) const;
  int FindPrevSiblingRow(int row, TreeRowLocator& locator, TreeRowLocator& siblingLocator) const;
  int FindNextSiblingRow(int row, TreeRowLocator& locator, TreeRowLocator& siblingLocator) const;
  // The number of descendants (plus the row with `includeRow`) and the byte
  // range they fill: [first descendant's text start, last descendant's last
  // byte, level + 1]; with `includeRow` from the row's own text start, and
  // ending at its own last byte when it has none; without it and without
  // descendants the last byte is -1.
  int CountSubtreeRows(int row, TreeRowLocator& locator, TreeRowLocator& range, int includeRow) const;
  int HasChildRows(int row, TreeRowLocator& locator) const;
  // Rows of `level` in display order with their text starts; with a start
  // row only inside its subtree, where level -1 means its direct children.
  int CollectChildRows(int level, TreeRowLocator& rows, TreeRowLocator& textStarts, int startRow) const;
  // Rows whose check byte is 1; the optional outputs are filled alongside.
  int CollectCheckedRows(TreeRowLocator& rows, CMStringArray* texts = nullptr, TreeRowLocator* userValues = nullptr,
                         TreeRowLocator* textStarts = nullptr) const;

  // --- Changing rows ----------------------------------------------------------
  // Toggles the expand byte, or expands (`expand` non-zero) or collapses it.
  // Patches the visible-row list when the expanded test changed, then
  // repaints while redraw is enabled. 1, or 0 for an invalid row.
  int SetRowExpandState(int row, int expand, int toggle, TreeRowLocator& locator);
  // Optionally a new text; then the expand byte (-1 leaves it, -2 toggles,
  // other values are stored) and the check byte (-1 leaves it, -2 cycles).
  // -1 and -2 are taken as bytes, so 255 and 254 mean the same. 1, or 0 for
  // an invalid row or a refused change.
  int SetRowFields(int row, const CWString* text, int expandValue, int checkValue, TreeRowLocator& locator,
                   int noRepaint);
  // 1 when SetRowFields could give the row this text (its bytes would form
  // no marker); 0 for a text it would refuse and for an invalid row.
  int AcceptsRowText(int row, const CWString& text, TreeRowLocator& locator) const;
  int SetRowCheckState(int row, int value, int cycle, TreeRowLocator& locator, int noRepaint);

  // --- Visible rows and selection ----------------------------------------------
  // With a negative row: rebuilds the whole visible-row list and makes it
  // current. With a row: appends to `out` the entries of the rows shown below
  // it when it is expanded (no closing mark). Returns the entry count.
  int BuildVisibleRowList(int row, TreeRowLocator& locator, CQzuMem& out);
  bool IsVisibleRowListCurrent() const { return m_visible.generation == m_generation; }
  // Makes the next paint rebuild the list.
  void MarkVisibleRowListStale() { m_visible.generation = -1; }
  int GetVisibleRowCount() const { return m_visible.count; }
  const CQzuMem& VisibleRowList() const { return m_visible.bytes; }
  int GetVisibleRowAt(int n) const { return m_visible.GetVisibleRowAt(n); }
  int FindVisibleRowEntry(int row) const { return static_cast<int>(m_visible.FindVisibleRowEntry(row)); }
  int GetVisibleIndexOfRow(int row) const { return m_visible.GetVisibleIndexOfRow(row); }

  // The selected row, reset to -1 when it lies outside the rows.
  int GetSelectedRow();
  // The stored value as it is, for the widget's own presses.
  int SelectedRowValue() const { return m_selectedRow; }
  void SetSelectedRowValue(int row) { m_selectedRow = row; }
  int GetPendingAction() const { return m_pendingAction; }
  void SetPendingAction(int action) { m_pendingAction = action; }
  // Selects the row (-1 when outside the rows), brings it into view while
  // redraw is enabled, raises the row chosen event with the pending action
  // and returns the event's result.
  intptr_t SelectTreeRow(int row);
  intptr_t RaiseTreeBoxEvent(int row, int action, int flag);
  // Expands the row's collapsed ancestors, outermost first, then has the
  // host scroll it into view; a row outside the rows only repaints.
  void EnsureRowVisible(int row, TreeRowLocator& locator);

  // --- Index tables -----------------------------------------------------------
  // Builds every one of the four tables that is not built for the present
  // generation (for now on the calling thread). Returns 1.
  int StartTreeIndexWorkers();
  // One pass of each table, on the calling thread.
  void BuildRowOffsetIndex();
  void BuildRowParentIndex();
  void BuildRowSiblingIndex();
  void BuildRowIndexFour();
  int IsRowOffsetIndexReady() const;
  int IsRowParentIndexReady() const;
  int IsRowSiblingIndexReady() const;
  int IsSubtreeEndIndexReady() const;
  int IsFifthIndexReady() const;
  // Table reads, current or not (callers test the readiness first); -1 for a
  // row outside the rows, zero past a table's end.
  int GetRowTextOffset(int row) const;
  int FindRowByTextOffset(int textStart, int row, int backward) const;
  int GetRowParent(int row) const;
  int GetFifthIndexEntry(int row) const;

  std::shared_ptr<const TreeRowSnapshot> TakeRowSnapshot() const;
  // Marks the table's record as being built for the snapshot's generation,
  // as the start of a worker pass does.
  void BeginIndexPass(TreeIndexKind kind, int64_t generation);
  // Hands a finished pass's tables to the record; they are used while the
  // rows stay at their generation. False when a newer pass began.
  bool PublishIndexTables(TreeIndexKind kind, std::shared_ptr<const TreeIndexTables> tables);
  const TreeIndexRecord& IndexRecord(TreeIndexKind kind) const;
  // The busy and run-again flags of a table's passes (any thread).
  rg_Tavelkin_MingLingJi::rg_TavelkinDuiLieWeiYiLei& IndexGuard(TreeIndexKind kind) { return Record(kind).guard; }

  // --- Stream form --------------------------------------------------------------
  void SaveMember(TreeModelMember member, CQzuStream& stream) const;
  void LoadMember(TreeModelMember member, CQzuStream& stream);

 private:
  TreeRowsView View() const;
  TreeIndexRecord& Record(TreeIndexKind kind);
  std::shared_ptr<const TreeIndexTables> Current(TreeIndexKind kind) const;
  void RunIndexPass(TreeIndexKind kind);
  void RowsChanged() { ++m_generation; }
  void Repaint(int noRepaint = 0);

  // Fills an empty locator; false when the row is invalid. The marker of a
  // valid row comes back in `marker`.
  bool Locate(int row, TreeRowLocator& locator, long long& marker) const;
  long long TextStartBefore(long long marker) const;
  long long LastByteOf(long long marker) const { return marker + m_markerLength + m_headerSize - 1; }
  CQzuMem MarkerWithLevel(int32_t level) const;
  // Fills a locator for the row whose text starts at `textStart`.
  void LocatorAt(long long textStart, int32_t level, TreeRowLocator& locator) const;
  // The row number of the record starting at `textStart`, counted from a
  // known row: through the row offset index when current, else by counting.
  int RowNumberBefore(int row, const TreeRowLocator& locator, long long textStart) const;
  int RowNumberAfter(int row, const TreeRowLocator& locator, long long textStart, long long lastByte) const;

  // Puts `bytes` in place of [pos, pos + removed) unless that would form a
  // marker other than the `markers` real ones among the new bytes.
  bool Splice(long long pos, long long removed, const uint8_t* bytes, long long count, int markers);
  bool ValidBatch(const CQzuMem& batch, int batchRowCount) const;
  // Patches the current visible-row list after the row's expanded test
  // changed (the new byte is stored).
  void ExpandedTestChanged(int row, TreeRowLocator& locator, bool nowExpanded);
  int VisibleRowsBelow(int row, TreeRowLocator& locator, CQzuMem& out) const;

  ITreeBoxModelHost* m_host = nullptr;
  CQzuMem m_rows;
  CQzuMem m_marker;
  int32_t m_markerLength = 4;
  int32_t m_headerSize = kTreeLongHeaderSize;
  int32_t m_rowCount = 0;
  int32_t m_redrawEnabled = 1;
  int32_t m_checkMode = kTwoStateCheckMode;
  int32_t m_pendingAction = 0;
  int32_t m_shortHeaderMode = 0;
  int32_t m_selectedRow = -1;
  int64_t m_generation = 0;
  TreeVisibleRowList m_visible;
  TreeIndexRecord m_rowOffsetIndex;
  TreeIndexRecord m_parentIndex;
  TreeIndexRecord m_siblingIndex{true};
  TreeIndexRecord m_subtreeEndIndex;
  TreeIndexRecord m_fifthIndex;
  TreeIndexRecord m_sixthIndex;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
