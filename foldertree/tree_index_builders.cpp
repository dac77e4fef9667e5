#include "foldertree/tree_index_builders.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

namespace {

void PutInt32(uint8_t* at, int32_t value) { std::memcpy(at, &value, 4); }

bool Abandoned(const std::atomic<int32_t>* abandon) { return abandon && abandon->load(std::memory_order_relaxed) != 0; }

// Walks every record from byte 0, handing each row number and level to
// `visit`. False when abandoned, when a level breaks the level rule (only
// when `checkLevels`), or when the records are not exactly the view's rows
// ending at the buffer's end.
template <class Visit>
bool WalkRows(const TreeRowsView& rows, bool checkLevels, const std::atomic<int32_t>* abandon, Visit&& visit) {
  TreeRowWalk walk(rows, 0);
  int row = 0;
  int32_t previousLevel = -1;
  long long end = 0;
  while (walk.Next()) {
    if (Abandoned(abandon) || row >= rows.rowCount) return false;
    const int32_t level = walk.Level();
    if (checkLevels && (level < 0 || level > previousLevel + 1)) return false;
    visit(row, level, walk);
    previousLevel = level;
    end = walk.LastByte() + 1;
    ++row;
  }
  return row == rows.rowCount && end == rows.size;
}

// A table of one int32 per row, zero-filled.
void SizeIntTable(CQzuMem& table, int rowCount) {
  table.Empty();
  table.SetGrowStep(static_cast<size_t>(rowCount) * 4 + 4);
  table.SetSize(static_cast<size_t>(rowCount) * 4);
}

}  // namespace

bool BuildRowOffsetTable(const TreeRowsView& rows, CQzuMem& table, const std::atomic<int32_t>* abandon) {
  table.Empty();
  if (rows.rowCount <= 0) return false;
  table.SetSize(static_cast<size_t>(rows.rowCount) * 6 + 2);
  uint8_t* out = table.GetData();
  const bool complete = WalkRows(rows, false, abandon, [out](int row, int32_t, const TreeRowWalk& walk) {
    std::memcpy(out + row * 6LL, kIndexEntryMark, 2);
    PutInt32(out + row * 6LL + 2, static_cast<int32_t>(walk.TextStart()));
  });
  std::memcpy(out + rows.rowCount * 6LL, kIndexEntryMark, 2);
  return complete;
}

bool BuildRowParentTable(const TreeRowsView& rows, CQzuMem& table, const std::atomic<int32_t>* abandon) {
  if (rows.rowCount <= 0) return false;
  SizeIntTable(table, rows.rowCount);
  uint8_t* out = table.GetData();
  // lastAbove[k] is the last row seen at level k - 1.
  std::vector<int32_t> lastAbove{-1};
  return WalkRows(rows, true, abandon, [&](int row, int32_t level, const TreeRowWalk&) {
    if (lastAbove.size() < static_cast<size_t>(level) + 2) lastAbove.push_back(-1);
    lastAbove[level + 1] = row;
    PutInt32(out + row * 4LL, lastAbove[level]);
  });
}

bool BuildRowSiblingTables(const TreeRowsView& rows, CQzuMem& previous, CQzuMem& next,
                           const std::atomic<int32_t>* abandon) {
  if (rows.rowCount <= 0) return false;
  SizeIntTable(previous, rows.rowCount);
  uint8_t* out = previous.GetData();
  // lastAt[k] is the last row seen at level k under the current parent.
  std::vector<int32_t> lastAt{-1};
  int32_t previousLevel = -1;
  const bool complete = WalkRows(rows, true, abandon, [&](int row, int32_t level, const TreeRowWalk&) {
    if (level < previousLevel)
      std::fill(lastAt.begin() + level + 1, lastAt.begin() + previousLevel + 1, -1);
    else if (lastAt.size() < static_cast<size_t>(level) + 1)
      lastAt.push_back(-1);
    PutInt32(out + row * 4LL, lastAt[level]);
    previousLevel = level;
    lastAt[level] = row;
  });
  if (!complete) return false;
  // Second pass: every previous-sibling link read the other way round.
  SizeIntTable(next, rows.rowCount);
  uint8_t* back = next.GetData();
  for (int row = 0; row < rows.rowCount; ++row) {
    if ((row & 0xFFF) == 0 && Abandoned(abandon)) return false;
    const int32_t sibling = ReadTableInt32(previous, row * 4LL);
    if (sibling != -1) PutInt32(back + sibling * 4LL, row);
  }
  return true;
}

bool BuildSubtreeEndTable(const TreeRowsView& rows, CQzuMem& table, const std::atomic<int32_t>* abandon) {
  if (rows.rowCount <= 0) return false;
  SizeIntTable(table, rows.rowCount);
  uint8_t* out = table.GetData();
  // open[k] is the row at level k whose subtree is still open.
  std::vector<int32_t> open;
  int32_t previousLevel = -1;
  const bool complete = WalkRows(rows, true, abandon, [&](int row, int32_t level, const TreeRowWalk&) {
    if (open.size() < static_cast<size_t>(level) + 1) open.push_back(-1);
    // A shallower row ends the open subtrees from its level down with the
    // row before it.
    for (int32_t k = level; k < previousLevel; ++k) PutInt32(out + open[k] * 4LL, open[previousLevel]);
    previousLevel = level;
    open[level] = row;
  });
  if (!complete) return false;
  for (int32_t k = 0; k < previousLevel; ++k) PutInt32(out + open[k] * 4LL, open[previousLevel]);
  return true;
}

int32_t ReadTableInt32(const CQzuMem& table, long long pos) {
  uint8_t bytes[4] = {0, 0, 0, 0};
  for (int i = 0; i < 4; ++i)
    if (pos + i >= 0 && pos + i < static_cast<long long>(table.GetSize())) bytes[i] = table[pos + i];
  int32_t value;
  std::memcpy(&value, bytes, 4);
  return value;
}

int FindRowInOffsetTable(const CQzuMem& table, int rowCount, int32_t textStart, int row, bool backward) {
  // Binary search over the entries the table really holds.
  const int entries = std::min<long long>(rowCount, static_cast<long long>(table.GetSize()) / 6);
  int lo = 0, hi = entries;  // first entry whose offset is >= textStart
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (ReadTableInt32(table, mid * 6LL + 2) < textStart)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (lo >= entries || ReadTableInt32(table, lo * 6LL + 2) != textStart) return rowCount;
  if (row >= 0 && (backward ? lo > row : lo < row)) return rowCount;
  return lo;
}

bool BuildIndexTables(TreeIndexKind kind, const TreeRowsView& rows, TreeIndexTables& tables,
                      const std::atomic<int32_t>* abandon) {
  switch (kind) {
    case TreeIndexKind::kRowOffsets:
      return BuildRowOffsetTable(rows, tables.first, abandon);
    case TreeIndexKind::kParents:
      return BuildRowParentTable(rows, tables.first, abandon);
    case TreeIndexKind::kSiblings:
      return BuildRowSiblingTables(rows, tables.first, tables.second, abandon);
    case TreeIndexKind::kSubtreeEnds:
      return BuildSubtreeEndTable(rows, tables.first, abandon);
    default:
      return false;
  }
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
