// TreeBoxModel: the list of shown rows, its patching after a row opens or
// closes, and the selection.
#include <vector>

#include "foldertree/tree_box_model.h"
#include "foldertree/tree_index_builders.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

namespace {

// The expand byte of the record a locator describes.
uint8_t ExpandByteAt(const TreeRowsView& view, const TreeRowLocator& locator) {
  return view.ReadByte(locator[1] - view.headerSize + 1 + kRowExpandField);
}

// Walks rows from `row` on, entering the entry of every shown row into `out`
// and jumping over the descendants of collapsed rows, until the record (or
// skipped subtree) that ends at `lastByte` or the end of the rows. `locator`
// is that of `previousRow`, the row before `row`, or empty.
int AppendShownRows(const TreeBoxModel& model, const TreeRowsView& view, int row, int previousRow,
                    TreeRowLocator locator, long long lastByte, CQzuMem& out) {
  int count = 0;
  while (model.FindRowRecord(row, locator, previousRow)) {
    TreeVisibleRowList::AppendEntry(out, row);
    ++count;
    previousRow = row;
    if (!IsExpandedByte(ExpandByteAt(view, locator))) {
      TreeRowLocator subtree;
      const int rows = model.CountSubtreeRows(row, locator, subtree, 1);
      if (rows > 1) {
        // Go on after the subtree as if its last row had just been found.
        const int32_t level = locator[2];
        locator.Empty();
        locator.Add(subtree[0]);
        locator.Add(subtree[1]);
        locator.Add(level);
        previousRow = row + rows - 1;
      }
    }
    row = previousRow + 1;
    if (lastByte >= 0 && locator[1] >= lastByte) break;
  }
  return count;
}

}  // namespace

int TreeBoxModel::BuildVisibleRowList(int row, TreeRowLocator& locator, CQzuMem& out) {
  const TreeRowsView view = View();
  if (row >= 0) return VisibleRowsBelow(row, locator, out);
  CQzuMem& list = m_visible.bytes;
  list.Empty();
  list.SetGrowStep(static_cast<size_t>(m_rowCount) * 6 + 2);
  list.Reserve(static_cast<size_t>(m_rowCount) * 6 + 2);
  const int count = AppendShownRows(*this, view, 0, -1, TreeRowLocator(), -1, list);
  list.Append(kIndexEntryMark, 2);
  m_visible.count = count;
  m_visible.generation = m_generation;
  return count;
}

int TreeBoxModel::VisibleRowsBelow(int row, TreeRowLocator& locator, CQzuMem& out) const {
  TreeRowLocator descendants;
  if (CountSubtreeRows(row, locator, descendants, 0) <= 0) return 0;
  return AppendShownRows(*this, View(), row + 1, row, locator, descendants[1], out);
}

void TreeBoxModel::ExpandedTestChanged(int row, TreeRowLocator& locator, bool nowExpanded) {
  if (!IsVisibleRowListCurrent()) return;
  const long long entry = m_visible.FindVisibleRowEntry(row);
  if (entry < 0) {
    // The row itself is hidden: leave it to the next paint's rebuild (and, as
    // the tree box always did, have the row offset index built again).
    MarkVisibleRowListStale();
    m_rowOffsetIndex.MarkStale();
    return;
  }
  CQzuMem shown;
  const int count = VisibleRowsBelow(row, locator, shown);
  if (nowExpanded) {
    m_visible.bytes.Insert(static_cast<size_t>(entry + 6), shown.GetData(), shown.GetSize());
    m_visible.count += count;
  } else {
    m_visible.bytes.Remove(static_cast<size_t>(entry + 6), shown.GetSize());
    m_visible.count -= count;
  }
}

int TreeBoxModel::GetSelectedRow() {
  if (m_selectedRow < -1 || m_selectedRow > m_rowCount - 1) m_selectedRow = -1;
  return m_selectedRow;
}

intptr_t TreeBoxModel::RaiseTreeBoxEvent(int row, int action, int flag) {
  return m_host ? m_host->RaiseRowChosenEvent(row, action, flag) : 0;
}

intptr_t TreeBoxModel::SelectTreeRow(int row) {
  m_selectedRow = row >= 0 && row < m_rowCount ? row : -1;
  if (m_redrawEnabled) {
    TreeRowLocator locator;
    EnsureRowVisible(m_selectedRow, locator);
  }
  const intptr_t result = RaiseTreeBoxEvent(GetSelectedRow(), m_pendingAction, 0);
  m_pendingAction = 0;
  return result;
}

void TreeBoxModel::EnsureRowVisible(int row, TreeRowLocator& locator) {
  if (row < 0 || row >= m_rowCount) {
    Repaint();
    return;
  }
  // The collapsed ancestors, innermost first.
  struct Ancestor {
    int row;
    TreeRowLocator locator;
    uint8_t expand;
  };
  std::vector<Ancestor> collapsed;
  TreeRowLocator current = locator;
  for (int at = row;;) {
    TreeRowLocator parentLocator;
    const int parent = FindParentRow(at, current, parentLocator);
    if (parent < 0) break;
    const int expand = GetRowExpandState(parent, parentLocator);
    if (static_cast<int8_t>(expand) <= 1) collapsed.push_back({parent, parentLocator, static_cast<uint8_t>(expand)});
    at = parent;
    current = parentLocator;
  }
  // Outermost first, so each one opens into a list that already shows it.
  // Each is opened by the expand rule, which also opens bytes 128 to 255
  // that a toggle would leave shut.
  for (auto it = collapsed.rbegin(); it != collapsed.rend(); ++it)
    SetRowFields(it->row, nullptr, ExpandedByte(it->expand), -1, it->locator, 1);
  if (m_host) m_host->ScrollRowIntoView(row);
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
