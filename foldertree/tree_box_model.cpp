// TreeBoxModel: construction, copies, adding, replacing and changing rows,
// and the member stream form. Lookups are in tree_box_model_lookup.cpp, the
// visible rows and the selection in tree_box_model_visible.cpp, the index
// tables in tree_box_model_index.cpp.
#include "foldertree/tree_box_model.h"

#include <climits>
#include <cstring>

#include "common/utf16le.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

TreeBoxModel::TreeBoxModel() : m_marker(kTreeRowMarker, sizeof kTreeRowMarker) {
  m_markerLength = static_cast<int32_t>(m_marker.GetSize());
}

TreeBoxModel::TreeBoxModel(const TreeBoxModel& other) { *this = other; }

TreeBoxModel& TreeBoxModel::operator=(const TreeBoxModel& other) {
  if (this == &other) return *this;
  // The host belongs to the widget that set it; a copy waits for its own.
  m_host = nullptr;
  m_rows = other.m_rows;
  m_marker = other.m_marker;
  m_markerLength = other.m_markerLength;
  m_headerSize = other.m_headerSize;
  m_rowCount = other.m_rowCount;
  m_redrawEnabled = other.m_redrawEnabled;
  m_checkMode = other.m_checkMode;
  m_pendingAction = other.m_pendingAction;
  m_shortHeaderMode = other.m_shortHeaderMode;
  m_selectedRow = other.m_selectedRow;
  m_generation = other.m_generation;
  m_visible = other.m_visible;
  m_rowOffsetIndex = other.m_rowOffsetIndex;
  m_parentIndex = other.m_parentIndex;
  m_siblingIndex = other.m_siblingIndex;
  m_subtreeEndIndex = other.m_subtreeEndIndex;
  m_fifthIndex = other.m_fifthIndex;
  m_sixthIndex = other.m_sixthIndex;
  return *this;
}

int TreeBoxModel::SetShortHeaderMode(int shortHeaders) {
  // Records already written keep the header size they were written with.
  if (m_rowCount != 0 || !m_rows.IsEmpty()) return 0;
  m_shortHeaderMode = shortHeaders;
  m_headerSize = shortHeaders ? kTreeShortHeaderSize : kTreeLongHeaderSize;
  return 1;
}

TreeRowsView TreeBoxModel::View() const {
  return ViewOfRows(m_rows, m_marker, m_markerLength, m_headerSize, m_rowCount);
}

void TreeBoxModel::Repaint(int noRepaint) {
  if (!noRepaint && m_redrawEnabled && m_host) m_host->RepaintTreeBox();
}

bool TreeBoxModel::Splice(long long pos, long long removed, const uint8_t* bytes, long long count, int markers) {
  const long long size = static_cast<long long>(m_rows.GetSize());
  if (pos < 0 || removed < 0 || pos + removed > size) return false;
  // Byte positions travel as int32 in locators and tables.
  const long long newSize = size - removed + count;
  if (newSize > INT_MAX) return false;
  if (CountMarkersAfterSplice(View(), pos, removed, bytes, count) != markers) return false;
  // Growing first: when memory runs out, nothing has been written yet.
  if (count > removed &&
      !m_rows.Insert(static_cast<size_t>(pos + removed), bytes + removed, static_cast<size_t>(count - removed)))
    return false;
  const long long same = count < removed ? count : removed;
  if (same > 0) std::memcpy(m_rows.GetData() + pos, bytes, static_cast<size_t>(same));
  if (removed > count) m_rows.Remove(static_cast<size_t>(pos + count), static_cast<size_t>(removed - count));
  return true;
}

int TreeBoxModel::AppendTreeRow(const CWString& text, int icon, int userValue, int expandByte, int level) {
  CQzuMem record;
  TreeRowFields fields{level, icon, -1, userValue, static_cast<uint8_t>(expandByte), 0};
  AppendRowRecordBytes(record, text, fields, m_marker, m_headerSize);
  if (!Splice(static_cast<long long>(m_rows.GetSize()), 0, record.GetData(), static_cast<long long>(record.GetSize()),
              1))
    return 0;
  ++m_rowCount;
  RowsChanged();
  return 1;
}

int TreeBoxModel::AppendRowRecord(CQzuMem& batch, const CWString& text, int icon, int selectedIcon, int level) const {
  CQzuMem record;
  AppendRowRecordBytes(record, text, TreeRowFields{level, icon, selectedIcon, 0, 0, 0}, m_marker, m_headerSize);
  const TreeRowsView batchView = ViewOfRows(batch, m_marker, m_markerLength, m_headerSize, 0);
  if (CountMarkersAfterSplice(batchView, batchView.size, 0, record.GetData(),
                              static_cast<long long>(record.GetSize())) != 1)
    return 0;
  batch.Append(record);
  return 1;
}

int TreeBoxModel::InsertTreeRow(int parentRow, const CWString& text, int icon, int selectedIcon, int userValue,
                                TreeRowLocator& parentLocator, int noRepaint) {
  long long at = static_cast<long long>(m_rows.GetSize());
  int level = 0;
  int result = m_rowCount;
  if (parentRow >= 0) {
    TreeRowLocator range;
    const int descendants = CountSubtreeRows(parentRow, parentLocator, range, 0);
    if (descendants < 0) return -1;
    // After the last descendant, or right after the parent's header.
    at = descendants > 0 ? range[1] + 1LL : range[0];
    level = range[2];
    result = parentRow + descendants + 1;
  }
  CQzuMem record;
  AppendRowRecordBytes(record, text, TreeRowFields{level, icon, selectedIcon, userValue, 0, 0}, m_marker, m_headerSize);
  if (!Splice(at, 0, record.GetData(), static_cast<long long>(record.GetSize()), 1)) return -1;
  ++m_rowCount;
  RowsChanged();
  Repaint(noRepaint);
  return result;
}

bool TreeBoxModel::ValidBatch(const CQzuMem& batch, int batchRowCount) const {
  const TreeRowsView batchView = ViewOfRows(batch, m_marker, m_markerLength, m_headerSize, batchRowCount);
  TreeRowWalk walk(batchView, 0);
  int records = 0;
  long long end = 0;
  while (walk.Next()) {
    // Texts are whole UTF-16 code units.
    if ((walk.Marker() - walk.TextStart()) % 2 != 0) return false;
    end = walk.LastByte() + 1;
    ++records;
  }
  return records >= 1 && records == batchRowCount && end == batchView.size;
}

int TreeBoxModel::ReplaceRowChildren(int row, int mode, const CQzuMem& batch, int batchRowCount,
                                     TreeRowLocator& locator) {
  if (row < 0 || row >= m_rowCount) return 0;
  TreeRowLocator range;
  const int replaced = CountSubtreeRows(row, locator, range, mode == kReplaceRowAndSubtree ? 1 : 0);
  if (replaced < 0) return 0;
  const bool hasBatch = !batch.IsEmpty();
  if (hasBatch && !ValidBatch(batch, batchRowCount)) return kReplaceRefused;
  const long long batchSize = static_cast<long long>(batch.GetSize());

  if (replaced < 1) {
    // A row without descendants just receives the batch after its header.
    if (!hasBatch) return 0;
    if (!Splice(range[0], 0, batch.GetData(), batchSize, batchRowCount)) return kReplaceRefused;
    m_rowCount += batchRowCount;
    RowsChanged();
    return 0;
  }

  const long long removed = range[1] - static_cast<long long>(range[0]) + 1;
  if (hasBatch) {
    const uint8_t* bytes = batch.GetData();
    CQzuMem patched;
    if (mode != kReplaceChildrenAsBuilt) {
      // The batch's first record takes the row's expand byte.
      long long marker;
      Locate(row, locator, marker);
      patched = batch;
      const TreeRowsView batchView = ViewOfRows(patched, m_marker, m_markerLength, m_headerSize, batchRowCount);
      patched[static_cast<size_t>(batchView.FindMarker(0) + m_markerLength + kRowExpandField)] =
          View().FieldByte(marker, kRowExpandField);
      bytes = patched.GetData();
    }
    if (!Splice(range[0], removed, bytes, batchSize, batchRowCount)) return kReplaceRefused;
    m_rowCount += batchRowCount - replaced;
  } else {
    if (!Splice(range[0], removed, nullptr, 0, 0)) return kReplaceRefused;
    m_rowCount -= replaced;
  }
  RowsChanged();
  Repaint();
  RaiseTreeBoxEvent(GetSelectedRow(), 0, 0);
  return replaced;
}

void TreeBoxModel::ClearRows() {
  m_rows.Empty();
  m_rowCount = 0;
  RowsChanged();
}

int TreeBoxModel::AcceptsRowText(int row, const CWString& text, TreeRowLocator& locator) const {
  long long marker;
  if (!Locate(row, locator, marker)) return 0;
  CQzuMem bytes;
  AppendUtf16Le(bytes, StoredRowText(text));
  const long long textStart = locator[0];
  return CountMarkersAfterSplice(View(), textStart, marker - textStart, bytes.GetData(),
                                 static_cast<long long>(bytes.GetSize())) == 0
             ? 1
             : 0;
}

int TreeBoxModel::SetRowFields(int row, const CWString* text, int expandValue, int checkValue, TreeRowLocator& locator,
                               int noRepaint) {
  long long marker;
  if (!Locate(row, locator, marker)) return 0;
  const TreeRowsView view = View();
  const long long textStart = locator[0];
  const long long recordEnd = marker + view.RecordTail();
  const uint8_t oldExpand = view.FieldByte(marker, kRowExpandField);
  const uint8_t oldCheck = view.FieldByte(marker, kRowCheckField);
  const int32_t level = view.Field(marker, kRowLevelField);
  const auto expandCode = static_cast<uint8_t>(expandValue);
  const auto checkCode = static_cast<uint8_t>(checkValue);
  const uint8_t newExpand = expandCode == 255   ? oldExpand
                            : expandCode == 254 ? ToggledExpandByte(oldExpand)
                                                : expandCode;
  const uint8_t newCheck = checkCode == 255   ? oldCheck
                           : checkCode == 254 ? CycledCheckByte(oldCheck, m_checkMode)
                                              : checkCode;

  // The new record: the new text (or the old bytes), the marker and header
  // as they are, then the two state bytes.
  CQzuMem record;
  if (text)
    AppendUtf16Le(record, StoredRowText(*text));
  else
    record.Append(m_rows.GetData() + textStart, static_cast<size_t>(marker - textStart));
  const size_t newMarker = record.GetSize();
  record.Append(m_rows.GetData() + marker, static_cast<size_t>(recordEnd - marker));
  record[newMarker + m_markerLength + kRowExpandField] = newExpand;
  record[newMarker + m_markerLength + kRowCheckField] = newCheck;
  const long long oldLength = recordEnd - textStart;
  if (!Splice(textStart, oldLength, record.GetData(), static_cast<long long>(record.GetSize()), 1)) return 0;
  if (static_cast<long long>(record.GetSize()) != oldLength) RowsChanged();
  locator.Empty();
  locator.Add(static_cast<int32_t>(textStart));
  locator.Add(static_cast<int32_t>(textStart + static_cast<long long>(record.GetSize()) - 1));
  locator.Add(level);

  if (IsExpandedByte(oldExpand) != IsExpandedByte(newExpand))
    ExpandedTestChanged(row, locator, IsExpandedByte(newExpand));
  Repaint(noRepaint);
  return 1;
}

int TreeBoxModel::SetRowExpandState(int row, int expand, int toggle, TreeRowLocator& locator) {
  long long marker;
  if (!Locate(row, locator, marker)) return 0;
  const uint8_t oldExpand = View().FieldByte(marker, kRowExpandField);
  const uint8_t newExpand = toggle   ? ToggledExpandByte(oldExpand)
                            : expand ? ExpandedByte(oldExpand)
                                     : CollapsedByte(oldExpand);
  if (!Splice(marker + m_markerLength + kRowExpandField, 1, &newExpand, 1, 0)) return 0;
  if (IsExpandedByte(oldExpand) != IsExpandedByte(newExpand))
    ExpandedTestChanged(row, locator, IsExpandedByte(newExpand));
  Repaint();
  return 1;
}

int TreeBoxModel::SetRowCheckState(int row, int value, int cycle, TreeRowLocator& locator, int noRepaint) {
  return SetRowFields(row, nullptr, -1, cycle ? -2 : value, locator, noRepaint);
}

// --- Stream form ---------------------------------------------------------------

TreeIndexRecord& TreeBoxModel::Record(TreeIndexKind kind) { return const_cast<TreeIndexRecord&>(IndexRecord(kind)); }

const TreeIndexRecord& TreeBoxModel::IndexRecord(TreeIndexKind kind) const {
  switch (kind) {
    case TreeIndexKind::kRowOffsets:
      return m_rowOffsetIndex;
    case TreeIndexKind::kParents:
      return m_parentIndex;
    case TreeIndexKind::kSiblings:
      return m_siblingIndex;
    case TreeIndexKind::kSubtreeEnds:
      return m_subtreeEndIndex;
    case TreeIndexKind::kFifth:
      return m_fifthIndex;
    case TreeIndexKind::kSixth:
      break;
  }
  return m_sixthIndex;
}

namespace {

TreeIndexKind IndexKindOf(TreeModelMember member) {
  switch (member) {
    case TreeModelMember::kRowOffsetIndex:
      return TreeIndexKind::kRowOffsets;
    case TreeModelMember::kParentIndex:
      return TreeIndexKind::kParents;
    case TreeModelMember::kSiblingIndex:
      return TreeIndexKind::kSiblings;
    case TreeModelMember::kSubtreeEndIndex:
      return TreeIndexKind::kSubtreeEnds;
    case TreeModelMember::kFifthIndex:
      return TreeIndexKind::kFifth;
    default:
      return TreeIndexKind::kSixth;
  }
}

}  // namespace

void TreeBoxModel::SaveMember(TreeModelMember member, CQzuStream& stream) const {
  if (!stream.Ok()) return;
  const auto length = static_cast<int32_t>(m_rows.GetSize());
  switch (member) {
    case TreeModelMember::kRowBuffer:
      stream.WriteMem(m_rows);
      return;
    case TreeModelMember::kRowMarker:
      stream.WriteMem(m_marker);
      return;
    case TreeModelMember::kMarkerLength:
      stream.WriteInt32(m_markerLength);
      return;
    case TreeModelMember::kHeaderSize:
      stream.WriteInt32(m_headerSize);
      return;
    case TreeModelMember::kRowCount:
      stream.WriteInt32(m_rowCount);
      return;
    case TreeModelMember::kRedrawEnabled:
      stream.WriteInt32(m_redrawEnabled);
      return;
    case TreeModelMember::kCheckMode:
      stream.WriteInt32(m_checkMode);
      return;
    case TreeModelMember::kPendingAction:
      stream.WriteInt32(m_pendingAction);
      return;
    case TreeModelMember::kShortHeaderMode:
      stream.WriteInt32(m_shortHeaderMode);
      return;
    case TreeModelMember::kSelectedRow:
      stream.WriteInt32(m_selectedRow);
      return;
    // The byte length the list was built for, as the stream form has it.
    case TreeModelMember::kVisibleListLength:
      stream.WriteInt32(IsVisibleRowListCurrent() ? length : -1);
      return;
    case TreeModelMember::kVisibleRowCount:
      stream.WriteInt32(m_visible.count);
      return;
    case TreeModelMember::kVisibleRowList:
      stream.WriteMem(m_visible.bytes);
      return;
    default:
      IndexRecord(IndexKindOf(member)).SaveToStream(stream, m_generation, length);
      return;
  }
}

void TreeBoxModel::LoadMember(TreeModelMember member, CQzuStream& stream) {
  int32_t value = 0;
  switch (member) {
    case TreeModelMember::kRowBuffer:
      stream.ReadMem(m_rows);
      break;
    case TreeModelMember::kRowMarker:
      stream.ReadMem(m_marker);
      break;
    case TreeModelMember::kMarkerLength:
      stream.ReadInt32(m_markerLength);
      break;
    case TreeModelMember::kHeaderSize:
      stream.ReadInt32(m_headerSize);
      break;
    case TreeModelMember::kRowCount:
      stream.ReadInt32(m_rowCount);
      break;
    case TreeModelMember::kRedrawEnabled:
      stream.ReadInt32(m_redrawEnabled);
      return;
    case TreeModelMember::kCheckMode:
      stream.ReadInt32(m_checkMode);
      return;
    case TreeModelMember::kPendingAction:
      stream.ReadInt32(m_pendingAction);
      return;
    case TreeModelMember::kShortHeaderMode:
      stream.ReadInt32(m_shortHeaderMode);
      return;
    case TreeModelMember::kSelectedRow:
      stream.ReadInt32(m_selectedRow);
      return;
    case TreeModelMember::kVisibleListLength:
      // Loaded after the row buffer: the list is current when it was built
      // for a buffer of the loaded buffer's length.
      if (stream.ReadInt32(value))
        m_visible.generation = value == static_cast<int32_t>(m_rows.GetSize()) ? m_generation : -1;
      return;
    case TreeModelMember::kVisibleRowCount:
      stream.ReadInt32(m_visible.count);
      return;
    case TreeModelMember::kVisibleRowList:
      stream.ReadMem(m_visible.bytes);
      return;
    default:
      Record(IndexKindOf(member)).LoadFromStream(stream, m_generation, static_cast<int32_t>(m_rows.GetSize()));
      return;
  }
  // The rows' shape members: every list and table built before is void, and
  // values no row buffer could have been written with fall back to ones every
  // read can live with.
  if (m_marker.IsEmpty()) m_marker.Assign(kTreeRowMarker, sizeof kTreeRowMarker);
  if (m_markerLength < 1 || m_markerLength > static_cast<int32_t>(m_marker.GetSize()))
    m_markerLength = static_cast<int32_t>(m_marker.GetSize());
  if (m_headerSize < kTreeShortHeaderSize) m_headerSize = kTreeShortHeaderSize;
  if (m_rowCount < 0) m_rowCount = 0;
  RowsChanged();
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
