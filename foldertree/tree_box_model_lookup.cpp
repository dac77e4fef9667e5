// TreeBoxModel: finding rows, reading them and their relations. Each lookup
// answers from the index tables when they are current for the rows'
// generation and scans the row buffer otherwise, with the same result.
//
// Backward searches use FindBytesFrom (textlib/text_search.h), which finds
// the last occurrence that ends at or before the start position. Every call
// here starts at the byte before a record's text (or before its marker), and
// the nearest marker before that lies a whole header or more further back,
// so an occurrence that merely begins at or before the start would be the
// same one.
#include <algorithm>

#include "common/utf16le.h"
#include "foldertree/tree_box_model.h"
#include "foldertree/tree_index_builders.h"
#include "textlib/text_search.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

namespace {

void SetLocator(TreeRowLocator& locator, long long first, long long last, long long level) {
  locator.Empty();
  locator.Add(static_cast<int32_t>(first));
  locator.Add(static_cast<int32_t>(last));
  locator.Add(static_cast<int32_t>(level));
}

int32_t RowOffsetEntry(const TreeIndexTables& offsets, int row) { return ReadTableInt32(offsets.first, row * 6LL + 2); }

int32_t IntEntry(const CQzuMem& table, int row) { return ReadTableInt32(table, row * 4LL); }

}  // namespace

std::shared_ptr<const TreeIndexTables> TreeBoxModel::Current(TreeIndexKind kind) const {
  return IndexRecord(kind).CurrentFor(m_generation);
}

bool TreeBoxModel::Locate(int row, TreeRowLocator& locator, long long& marker) const {
  if (row < 0 || row >= m_rowCount) return false;
  if (locator.size() < 2 && !FindRowRecord(row, locator, -1)) return false;
  const TreeRowsView view = View();
  if (locator[0] < 0) return false;
  marker = view.FindMarker(locator[0]);
  return marker >= 0 && marker <= locator[1] && marker + view.RecordTail() <= view.size;
}

long long TreeBoxModel::TextStartBefore(long long marker) const {
  const long long previous = FindBytesFrom(m_rows, m_marker, marker - m_markerLength);
  return previous < 0 ? 0 : previous + m_markerLength + m_headerSize;
}

CQzuMem TreeBoxModel::MarkerWithLevel(int32_t level) const {
  CQzuMem pattern(m_marker.GetData(), static_cast<size_t>(m_markerLength));
  pattern.Append(&level, 4);
  return pattern;
}

void TreeBoxModel::LocatorAt(long long textStart, int32_t level, TreeRowLocator& locator) const {
  const long long marker = View().FindMarker(textStart);
  SetLocator(locator, textStart, marker < 0 ? -1 : LastByteOf(marker), level);
}

int TreeBoxModel::RowNumberBefore(int row, const TreeRowLocator& locator, long long textStart) const {
  if (const auto offsets = Current(TreeIndexKind::kRowOffsets))
    return FindRowInOffsetTable(offsets->first, m_rowCount, static_cast<int32_t>(textStart), row, true);
  TreeRowLocator range;
  SetLocator(range, textStart, locator[1], 0);
  return row - CountRowsInRange(range) + 1;
}

int TreeBoxModel::RowNumberAfter(int row, const TreeRowLocator& locator, long long textStart,
                                 long long lastByte) const {
  if (const auto offsets = Current(TreeIndexKind::kRowOffsets))
    return FindRowInOffsetTable(offsets->first, m_rowCount, static_cast<int32_t>(textStart), row, false);
  TreeRowLocator range;
  SetLocator(range, locator[0], lastByte, 0);
  return row + CountRowsInRange(range) - 1;
}

int TreeBoxModel::FindRowRecord(int row, TreeRowLocator& locator, int startRow) const {
  if (row < 0 || row >= m_rowCount) return 0;
  const TreeRowsView view = View();
  long long from = 0;
  int counter = -1;
  const bool canContinue = locator.size() >= 2 && startRow >= 0 && startRow < row && locator[1] >= 0;
  std::shared_ptr<const TreeIndexTables> offsets;
  // The next row is one search away; farther rows come from the index.
  if (canContinue && row == startRow + 1) {
    from = locator[1] + 1LL;
    counter = startRow;
  } else if ((offsets = Current(TreeIndexKind::kRowOffsets))) {
    from = RowOffsetEntry(*offsets, row);
    counter = row - 1;
  } else if (canContinue) {
    from = locator[1] + 1LL;
    counter = startRow;
  }
  TreeRowWalk walk(view, from);
  while (walk.Next()) {
    if (++counter == row) {
      SetLocator(locator, walk.TextStart(), walk.LastByte(), walk.Level());
      return 1;
    }
  }
  return 0;
}

void TreeBoxModel::LocateRowAtOffset(int textStart, TreeRowLocator& locator) const {
  if (textStart < 0) return;
  const TreeRowsView view = View();
  const long long marker = view.FindMarker(textStart);
  if (marker < 0) return;
  SetLocator(locator, textStart, LastByteOf(marker), view.Field(marker, kRowLevelField));
}

int TreeBoxModel::CountRowsInRange(const TreeRowLocator& range) const {
  if (range.size() < 2 || range[1] < 0 || range[0] > range[1]) return 0;
  const long long first = range[0], last = range[1];
  const TreeRowsView view = View();
  if (const auto offsets = Current(TreeIndexKind::kRowOffsets)) {
    // Two row numbers, when the range runs from a text start to a record's end.
    const int a = FindRowInOffsetTable(offsets->first, m_rowCount, static_cast<int32_t>(first), -1, false);
    if (a >= 0 && a < m_rowCount) {
      if (last + 1 >= view.size) return m_rowCount - a;
      const int b = FindRowInOffsetTable(offsets->first, m_rowCount, static_cast<int32_t>(last + 1), a, false);
      if (b < m_rowCount) return b - a;
    }
  }
  int count = 0;
  TreeRowWalk walk(view, first);
  while (walk.Next() && walk.Marker() + m_markerLength - 1 <= last) ++count;
  return count;
}

int TreeBoxModel::FindFavouritesRootRow() const {
  CQzuMem pattern = MarkerWithLevel(0);
  const int32_t favouritesIcon = 2;
  pattern.Append(&favouritesIcon, 4);
  const long long hit = m_rows.Find(pattern.GetData(), pattern.GetSize(), 0);
  if (hit < 0) return -1;
  const long long textStart = TextStartBefore(hit);
  if (const auto offsets = Current(TreeIndexKind::kRowOffsets))
    return FindRowInOffsetTable(offsets->first, m_rowCount, static_cast<int32_t>(textStart), -1, false);
  TreeRowLocator range;
  SetLocator(range, 0, LastByteOf(hit), 0);
  return CountRowsInRange(range) - 1;
}

// --- Reading rows ------------------------------------------------------------------

CWString TreeBoxModel::GetRowText(int row, TreeRowLocator& locator) const {
  long long marker;
  if (!Locate(row, locator, marker)) return CWString();
  return TextOfUtf16Le(m_rows.GetData() + locator[0], static_cast<size_t>(marker - locator[0]));
}

int TreeBoxModel::GetRowLevel(int row, TreeRowLocator& locator) const {
  long long marker;
  return Locate(row, locator, marker) ? View().Field(marker, kRowLevelField) : -1;
}

int TreeBoxModel::GetRowIcon(int row, TreeRowLocator& locator) const {
  long long marker;
  return Locate(row, locator, marker) ? View().Field(marker, kRowIconField) : -1;
}

int TreeBoxModel::GetRowSelectedIcon(int row, TreeRowLocator& locator) const {
  long long marker;
  return Locate(row, locator, marker) ? View().Field(marker, kRowSelectedIconField) : -1;
}

int TreeBoxModel::GetRowUserValue(int row, TreeRowLocator& locator) const {
  long long marker;
  return Locate(row, locator, marker) ? View().Field(marker, kRowUserValueField) : 0;
}

int TreeBoxModel::GetRowExpandState(int row, TreeRowLocator& locator) const {
  long long marker;
  return Locate(row, locator, marker) ? View().FieldByte(marker, kRowExpandField) : 255;
}

int TreeBoxModel::GetRowCheckState(int row, TreeRowLocator& locator) const {
  long long marker;
  return Locate(row, locator, marker) ? View().FieldByte(marker, kRowCheckField) : 255;
}

int TreeBoxModel::GetRowTextColour(int row, TreeRowLocator& locator) const {
  long long marker;
  if (m_shortHeaderMode || m_headerSize < kRowTextColourField + 4 || !Locate(row, locator, marker)) return -1;
  return View().Field(marker, kRowTextColourField);
}

int TreeBoxModel::GetRowBackgroundColour(int row, TreeRowLocator& locator) const {
  long long marker;
  if (m_shortHeaderMode || m_headerSize < kRowBackColourField + 4 || !Locate(row, locator, marker)) return -1;
  return View().Field(marker, kRowBackColourField);
}

CWString TreeBoxModel::GetRowTextAtOffset(int textStart) const {
  if (textStart < 0) return CWString();
  const long long marker = View().FindMarker(textStart);
  if (marker < 0) return CWString();
  return TextOfUtf16Le(m_rows.GetData() + textStart, static_cast<size_t>(marker - textStart));
}

// --- Relations ----------------------------------------------------------------------

int TreeBoxModel::FindParentMarker(int row, TreeRowLocator& locator) const {
  long long marker;
  if (!Locate(row, locator, marker)) return -1;
  const int32_t level = View().Field(marker, kRowLevelField);
  if (level <= 0) return -1;
  const auto parents = Current(TreeIndexKind::kParents);
  const auto offsets = parents ? Current(TreeIndexKind::kRowOffsets) : nullptr;
  if (offsets) {
    const int32_t parent = IntEntry(parents->first, row);
    return parent < 0 ? -1 : static_cast<int>(View().FindMarker(RowOffsetEntry(*offsets, parent)));
  }
  return static_cast<int>(FindBytesFrom(m_rows, MarkerWithLevel(level - 1), locator[0] - 1LL));
}

int TreeBoxModel::FindParentRow(int row, TreeRowLocator& locator, TreeRowLocator& parentLocator,
                                int* parentMarker) const {
  SetLocator(parentLocator, -1, -1, -1);
  if (parentMarker) *parentMarker = -1;
  long long marker;
  if (!Locate(row, locator, marker)) return -1;
  const TreeRowsView view = View();
  const int32_t level = view.Field(marker, kRowLevelField);
  if (level <= 0) return -1;
  const auto parents = Current(TreeIndexKind::kParents);
  const auto offsets = parents ? Current(TreeIndexKind::kRowOffsets) : nullptr;
  int parent;
  long long textStart, found;
  if (offsets) {
    parent = IntEntry(parents->first, row);
    if (parent < 0) return -1;
    textStart = RowOffsetEntry(*offsets, parent);
    found = view.FindMarker(textStart);
  } else {
    found = FindBytesFrom(m_rows, MarkerWithLevel(level - 1), locator[0] - 1LL);
    if (found < 0) return -1;
    textStart = TextStartBefore(found);
    parent = RowNumberBefore(row, locator, textStart);
  }
  SetLocator(parentLocator, textStart, LastByteOf(found), level - 1);
  if (parentMarker) *parentMarker = static_cast<int>(found);
  return parent;
}

int TreeBoxModel::FindPrevSiblingRow(int row, TreeRowLocator& locator, TreeRowLocator& siblingLocator) const {
  SetLocator(siblingLocator, -1, -1, -1);
  long long marker;
  if (!Locate(row, locator, marker)) return -1;
  const TreeRowsView view = View();
  const long long textStart = locator[0];
  const int32_t level = view.Field(marker, kRowLevelField);
  // The first row, and a row right below its parent, have none.
  if (textStart == 0 || view.ReadInt32(textStart - m_headerSize) == level - 1) return -1;
  const auto siblings = Current(TreeIndexKind::kSiblings);
  const auto offsets = siblings ? Current(TreeIndexKind::kRowOffsets) : nullptr;
  if (offsets) {
    const int32_t sibling = IntEntry(siblings->first, row);
    if (sibling < 0) return -1;
    LocatorAt(RowOffsetEntry(*offsets, sibling), level, siblingLocator);
    return sibling;
  }
  const long long parentMarker = FindParentMarker(row, locator);
  const long long hit = FindBytesFrom(m_rows, MarkerWithLevel(level), textStart - 1);
  if (hit < 0 || (parentMarker != -1 && hit < parentMarker)) return -1;
  const long long siblingStart = TextStartBefore(hit);
  SetLocator(siblingLocator, siblingStart, LastByteOf(hit), level);
  return RowNumberBefore(row, locator, siblingStart);
}

int TreeBoxModel::FindNextSiblingRow(int row, TreeRowLocator& locator, TreeRowLocator& siblingLocator) const {
  SetLocator(siblingLocator, -1, -1, -1);
  long long marker;
  if (!Locate(row, locator, marker)) return -1;
  const int32_t level = View().Field(marker, kRowLevelField);
  const auto siblings = Current(TreeIndexKind::kSiblings);
  const auto offsets = siblings ? Current(TreeIndexKind::kRowOffsets) : nullptr;
  if (offsets) {
    const int32_t sibling = IntEntry(siblings->second, row);
    if (sibling <= 0) return -1;
    LocatorAt(RowOffsetEntry(*offsets, sibling), level, siblingLocator);
    return sibling;
  }
  const long long parentMarker = FindParentMarker(row, locator);
  const CQzuMem pattern = MarkerWithLevel(level);
  const long long hit = m_rows.Find(pattern.GetData(), pattern.GetSize(), static_cast<size_t>(LastByteOf(marker) + 1));
  if (hit < 0) return -1;
  // Under a parent, the hit must still belong to it: the nearest row one
  // level up before the hit is that parent.
  if (parentMarker != -1 &&
      (hit <= parentMarker || FindBytesFrom(m_rows, MarkerWithLevel(level - 1), hit - 1) != parentMarker))
    return -1;
  const long long siblingStart = TextStartBefore(hit);
  SetLocator(siblingLocator, siblingStart, LastByteOf(hit), level);
  return RowNumberAfter(row, locator, siblingStart, LastByteOf(hit));
}

int TreeBoxModel::CountSubtreeRows(int row, TreeRowLocator& locator, TreeRowLocator& range, int includeRow) const {
  long long marker;
  if (!Locate(row, locator, marker)) return -1;
  const TreeRowsView view = View();
  const int32_t level = view.Field(marker, kRowLevelField);
  const long long after = LastByteOf(marker) + 1;
  int count = 0;
  long long last = -1;
  const auto ends = Current(TreeIndexKind::kSubtreeEnds);
  const auto offsets = ends ? Current(TreeIndexKind::kRowOffsets) : nullptr;
  if (offsets) {
    const int32_t end = after >= view.size ? 0 : IntEntry(ends->first, row);
    if (end > row) {
      count = end - row;
      const long long endMarker = view.FindMarker(RowOffsetEntry(*offsets, end));
      last = endMarker < 0 ? -1 : LastByteOf(endMarker);
    }
  } else {
    TreeRowWalk walk(view, after);
    while (walk.Next() && walk.Level() > level) {
      ++count;
      last = walk.LastByte();
    }
  }
  if (includeRow) {
    ++count;
    SetLocator(range, locator[0], last < 0 ? LastByteOf(marker) : last, level + 1LL);
  } else {
    SetLocator(range, after, last, level + 1LL);
  }
  return count;
}

int TreeBoxModel::HasChildRows(int row, TreeRowLocator& locator) const {
  long long marker;
  if (!Locate(row, locator, marker)) return 0;
  const TreeRowsView view = View();
  const long long next = view.FindMarker(LastByteOf(marker) + 1);
  return next >= 0 && view.Field(next, kRowLevelField) == view.Field(marker, kRowLevelField) + 1 ? 1 : 0;
}

int TreeBoxModel::CollectChildRows(int level, TreeRowLocator& rows, TreeRowLocator& textStarts, int startRow) const {
  rows.Empty();
  textStarts.Empty();
  const TreeRowsView view = View();
  long long from = 0;
  int row = 0;
  int32_t startLevel = -1;
  int32_t wanted = level;
  if (startRow != -1) {
    TreeRowLocator start;
    if (!FindRowRecord(startRow, start, -1)) return 0;
    startLevel = start[2];
    if (wanted == -1) wanted = startLevel + 1;
    from = start[0];
    row = startRow;
  }
  TreeRowWalk walk(view, from);
  for (; walk.Next(); ++row) {
    const int32_t rowLevel = walk.Level();
    if (startRow != -1 && row > startRow && rowLevel <= startLevel) break;
    if (rowLevel != wanted) continue;
    rows.Add(row);
    textStarts.Add(static_cast<int32_t>(walk.TextStart()));
  }
  return rows.GetCount();
}

int TreeBoxModel::CollectCheckedRows(TreeRowLocator& rows, CMStringArray* texts, TreeRowLocator* userValues,
                                     TreeRowLocator* textStarts) const {
  rows.Empty();
  if (texts) texts->Empty();
  if (userValues) userValues->Empty();
  if (textStarts) textStarts->Empty();
  const TreeRowsView view = View();
  TreeRowWalk walk(view, 0);
  for (int row = 0; walk.Next(); ++row) {
    if (view.FieldByte(walk.Marker(), kRowCheckField) != 1) continue;
    rows.Add(row);
    if (texts)
      texts->Add(TextOfUtf16Le(view.data + walk.TextStart(), static_cast<size_t>(walk.Marker() - walk.TextStart())));
    if (userValues) userValues->Add(view.Field(walk.Marker(), kRowUserValueField));
    if (textStarts) textStarts->Add(static_cast<int32_t>(walk.TextStart()));
  }
  return rows.GetCount();
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
