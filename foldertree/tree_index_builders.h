#pragma once
// The four index tables of the tree box, each built by one linear walk over a
// view of the rows (tree_row_scan.h). They hold answers the row store can
// otherwise only find by scanning; all integers little-endian:
//
//   row offsets   per row 03 04 and the int32 byte where its text starts, then
//                 a closing 03 04 (n * 6 + 2 bytes), so the 8-byte pattern
//                 03 04, offset, 03 04 matches exactly one whole entry
//   parents       per row the int32 parent row, -1 for a root row
//   siblings      two tables: per row the previous sibling (-1 for none) and
//                 the next sibling (0 for none: row 0 is nobody's next)
//   subtree ends  per row the last row of its subtree, 0 when it has no
//                 descendants
//
// A builder works only on the view it is given, so an index worker can run it
// on a snapshot of the rows on its own thread. It gives up (false, tables not
// to be used) when `abandon` is set, at any record, so a newer request can
// restart it; and when the rows are not a tree it can describe: a marker
// count other than the view's row count, or levels that break the level rule
// (the first row at level 0, each row at most one level deeper than the one
// before). Readers then scan, which answers the same questions more slowly.
#include <atomic>
#include <cstdint>

#include "common/mem.h"
#include "foldertree/tree_index_record.h"
#include "foldertree/tree_row_scan.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

inline constexpr uint8_t kIndexEntryMark[2] = {0x03, 0x04};

bool BuildRowOffsetTable(const TreeRowsView& rows, CQzuMem& table, const std::atomic<int32_t>* abandon = nullptr);
bool BuildRowParentTable(const TreeRowsView& rows, CQzuMem& table, const std::atomic<int32_t>* abandon = nullptr);
bool BuildRowSiblingTables(const TreeRowsView& rows, CQzuMem& previous, CQzuMem& next,
                           const std::atomic<int32_t>* abandon = nullptr);
bool BuildSubtreeEndTable(const TreeRowsView& rows, CQzuMem& table, const std::atomic<int32_t>* abandon = nullptr);

// The tables of one of the four built kinds (false for the fifth and sixth,
// which nothing builds), as the builder of that kind gives them.
bool BuildIndexTables(TreeIndexKind kind, const TreeRowsView& rows, TreeIndexTables& tables,
                      const std::atomic<int32_t>* abandon = nullptr);

// The int32 at `pos` of a table; bytes past its end read as zero.
int32_t ReadTableInt32(const CQzuMem& table, long long pos);

// The row whose text starts at `textStart` in a row offset table of
// `rowCount` rows: forward the first such row at or after `row` (any row when
// `row` is negative), backward the last at or before `row` (any when
// negative); `rowCount` when there is none. Text starts rise with the row
// number, so this is a binary search with the answer of the byte search for
// 03 04, textStart, 03 04.
int FindRowInOffsetTable(const CQzuMem& table, int rowCount, int32_t textStart, int row, bool backward);

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
