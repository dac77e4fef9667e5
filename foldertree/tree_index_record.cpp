#include "foldertree/tree_index_record.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

namespace {

const std::shared_ptr<const TreeIndexTables>& NoTables() {
  static const auto none = std::make_shared<const TreeIndexTables>();
  return none;
}

}  // namespace

TreeIndexRecord::TreeIndexRecord(bool twoTables) : m_twoTables(twoTables), m_tables(NoTables()) {}

TreeIndexRecord::TreeIndexRecord(const TreeIndexRecord& other) : m_twoTables(other.m_twoTables) { *this = other; }

TreeIndexRecord& TreeIndexRecord::operator=(const TreeIndexRecord& other) {
  if (this == &other) return *this;
  std::shared_ptr<const TreeIndexTables> tables;
  int32_t done, resetting;
  int64_t builtFor;
  {
    std::lock_guard<std::mutex> hold(other.m_lock);
    tables = other.m_tables;
    done = other.m_done;
    resetting = other.m_resetting;
    builtFor = other.m_builtFor;
  }
  std::lock_guard<std::mutex> hold(m_lock);
  m_twoTables = other.m_twoTables;
  m_tables = std::move(tables);
  m_done = done;
  m_resetting = resetting;
  m_builtFor = builtFor;
  guard = other.guard;
  return *this;
}

std::shared_ptr<const TreeIndexTables> TreeIndexRecord::CurrentFor(int64_t generation) const {
  std::lock_guard<std::mutex> hold(m_lock);
  if (m_done == 1 && m_builtFor == generation && m_tables->generation == generation) return m_tables;
  return nullptr;
}

std::shared_ptr<const TreeIndexTables> TreeIndexRecord::Latest() const {
  std::lock_guard<std::mutex> hold(m_lock);
  return m_tables;
}

void TreeIndexRecord::BeginPass(int64_t generation) {
  std::lock_guard<std::mutex> hold(m_lock);
  m_done = 0;
  m_builtFor = generation;
}

bool TreeIndexRecord::Publish(std::shared_ptr<const TreeIndexTables> tables) {
  std::lock_guard<std::mutex> hold(m_lock);
  if (!tables || tables->generation != m_builtFor) return false;
  m_tables = std::move(tables);
  m_done = 1;
  return true;
}

void TreeIndexRecord::MarkStale() {
  std::lock_guard<std::mutex> hold(m_lock);
  m_builtFor = -1;
}

int64_t TreeIndexRecord::BuiltFor() const {
  std::lock_guard<std::mutex> hold(m_lock);
  return m_builtFor;
}

// Tables are published whole instead of being emptied in place, so the
// resetting flag only travels through the stream form.
void TreeIndexRecord::SaveToStream(CQzuStream& stream, int64_t generation, int32_t rowBufferLength) const {
  if (!stream.Ok()) return;
  std::shared_ptr<const TreeIndexTables> tables;
  int32_t done, resetting;
  int64_t builtFor;
  {
    std::lock_guard<std::mutex> hold(m_lock);
    tables = m_tables;
    done = m_done;
    resetting = m_resetting;
    builtFor = m_builtFor;
  }
  stream.WriteMem(tables->first);
  if (m_twoTables) stream.WriteMem(tables->second);
  stream.WriteInt32(done);
  stream.WriteInt32(resetting);
  stream.WriteInt32(builtFor == generation && tables->generation == generation ? rowBufferLength : -1);
  guard.SaveToStream(stream);
}

void TreeIndexRecord::LoadFromStream(CQzuStream& stream, int64_t generation, int32_t rowBufferLength) {
  auto tables = std::make_shared<TreeIndexTables>();
  int32_t done = 0, resetting = 0, builtForLength = -1;
  if (!stream.ReadMem(tables->first)) return;
  if (m_twoTables && !stream.ReadMem(tables->second)) return;
  if (!stream.ReadInt32(done) || !stream.ReadInt32(resetting) || !stream.ReadInt32(builtForLength)) return;
  guard.LoadFromStream(stream);
  guard.EndRun();
  const bool current = done == 1 && builtForLength == rowBufferLength;
  tables->generation = current ? generation : -1;
  std::lock_guard<std::mutex> hold(m_lock);
  m_tables = std::move(tables);
  m_done = done;
  m_resetting = resetting;
  m_builtFor = current ? generation : -1;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
