// TreeBoxModel: the index tables, their passes and their plain reads.
#include "foldertree/tree_box_model.h"
#include "foldertree/tree_index_builders.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

TreeRowsView TreeRowSnapshot::View() const {
  return ViewOfRows(rows, marker, static_cast<int>(marker.GetSize()), headerSize, rowCount);
}

std::shared_ptr<const TreeRowSnapshot> TreeBoxModel::TakeRowSnapshot() const {
  auto snapshot = std::make_shared<TreeRowSnapshot>();
  snapshot->rows = m_rows;
  snapshot->marker.Assign(m_marker.GetData(), static_cast<size_t>(m_markerLength));
  snapshot->headerSize = m_headerSize;
  snapshot->rowCount = m_rowCount;
  snapshot->generation = m_generation;
  return snapshot;
}

void TreeBoxModel::BeginIndexPass(TreeIndexKind kind, int64_t generation) { Record(kind).BeginPass(generation); }

bool TreeBoxModel::PublishIndexTables(TreeIndexKind kind, std::shared_ptr<const TreeIndexTables> tables) {
  return Record(kind).Publish(std::move(tables));
}

void TreeBoxModel::RunIndexPass(TreeIndexKind kind) {
  TreeIndexRecord& record = Record(kind);
  record.BeginPass(m_generation);
  // An empty tree gets no table; the record stays built for this generation
  // without being done, so nothing starts it again until the rows change.
  if (m_rows.IsEmpty()) return;
  auto tables = std::make_shared<TreeIndexTables>();
  tables->generation = m_generation;
  const bool built = BuildIndexTables(kind, View(), *tables);
  if (built) record.Publish(std::move(tables));
}

int TreeBoxModel::StartTreeIndexWorkers() {
  for (TreeIndexKind kind :
       {TreeIndexKind::kRowOffsets, TreeIndexKind::kSubtreeEnds, TreeIndexKind::kParents, TreeIndexKind::kSiblings})
    if (Record(kind).BuiltFor() != m_generation) RunIndexPass(kind);
  return 1;
}

void TreeBoxModel::BuildRowOffsetIndex() { RunIndexPass(TreeIndexKind::kRowOffsets); }
void TreeBoxModel::BuildRowParentIndex() { RunIndexPass(TreeIndexKind::kParents); }
void TreeBoxModel::BuildRowSiblingIndex() { RunIndexPass(TreeIndexKind::kSiblings); }
void TreeBoxModel::BuildRowIndexFour() { RunIndexPass(TreeIndexKind::kSubtreeEnds); }

int TreeBoxModel::IsRowOffsetIndexReady() const { return Current(TreeIndexKind::kRowOffsets) ? 1 : 0; }
int TreeBoxModel::IsRowParentIndexReady() const { return Current(TreeIndexKind::kParents) ? 1 : 0; }
int TreeBoxModel::IsRowSiblingIndexReady() const { return Current(TreeIndexKind::kSiblings) ? 1 : 0; }
int TreeBoxModel::IsSubtreeEndIndexReady() const { return Current(TreeIndexKind::kSubtreeEnds) ? 1 : 0; }
int TreeBoxModel::IsFifthIndexReady() const { return Current(TreeIndexKind::kFifth) ? 1 : 0; }

int TreeBoxModel::GetRowTextOffset(int row) const {
  if (row < 0 || row >= m_rowCount) return -1;
  return ReadTableInt32(m_rowOffsetIndex.Latest()->first, row * 6LL + 2);
}

int TreeBoxModel::FindRowByTextOffset(int textStart, int row, int backward) const {
  return FindRowInOffsetTable(m_rowOffsetIndex.Latest()->first, m_rowCount, textStart, row, backward != 0);
}

int TreeBoxModel::GetRowParent(int row) const {
  if (row < 0 || row >= m_rowCount) return -1;
  return ReadTableInt32(m_parentIndex.Latest()->first, row * 4LL);
}

int TreeBoxModel::GetFifthIndexEntry(int row) const {
  if (row < 0 || row >= m_rowCount) return -1;
  return ReadTableInt32(m_fifthIndex.Latest()->first, row * 4LL);
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
