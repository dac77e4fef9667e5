#pragma once
// TreeIndexRecord: one index table of the tree box (tree_index_builders.h)
// with the state that says whether it may be used. Tables are published
// whole, with the row-buffer generation they were built for, under the
// record's lock, and never change afterwards: a reader takes a reference to
// them and can use it while a worker publishes newer ones.
//
// Generations: the tree box bumps a counter whenever its rows change shape
// (rows added, replaced or removed, a text of another length). A table is
// current only when a finished pass built it for the present generation. A
// byte length that happens to match after a refresh proves nothing, which is
// why the generation, not the length, decides.
//
// Threads: Publish, BeginPass and every reader may run on any thread; the
// tree box's UI thread reads, index workers publish.
#include <cstdint>
#include <memory>
#include <mutex>

#include "common/mem.h"
#include "common/stream.h"
#include "services/run_once_guard.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

// The index tables, in the order the tree box declares them. The fifth and
// sixth are carried through copies and streams; nothing builds them.
enum class TreeIndexKind { kRowOffsets, kParents, kSiblings, kSubtreeEnds, kFifth, kSixth };

// The tables one pass produces; immutable once published.
struct TreeIndexTables {
  CQzuMem first;
  CQzuMem second;  // the sibling index's next-sibling table; empty for the others
  int64_t generation = -1;
};

class TreeIndexRecord {
 public:
  explicit TreeIndexRecord(bool twoTables = false);
  // A copy shares the published tables (they never change), takes the flags
  // and, as the run-once guard's own copy does, shares its lock.
  TreeIndexRecord(const TreeIndexRecord& other);
  TreeIndexRecord& operator=(const TreeIndexRecord& other);

  // The tables when a finished pass built them for `generation`; else null.
  std::shared_ptr<const TreeIndexTables> CurrentFor(int64_t generation) const;
  bool IsCurrentFor(int64_t generation) const { return CurrentFor(generation) != nullptr; }
  // The last published tables, current or not; empty tables before any.
  std::shared_ptr<const TreeIndexTables> Latest() const;

  // A pass for `generation` begins: not done, built for that generation.
  void BeginPass(int64_t generation);
  // A finished pass: its tables become current for their generation, unless
  // a newer pass began meanwhile (then they are dropped; false).
  bool Publish(std::shared_ptr<const TreeIndexTables> tables);
  // Forgets which generation the record was built for, so the next start of
  // the workers builds it again.
  void MarkStale();
  int64_t BuiltFor() const;

  // Stream form: the table (two for the sibling index), the done flag, the
  // resetting flag, the byte length of the row buffer the table describes
  // (-1 unless current), the run-once guard. Loading makes the tables current
  // for `generation` when the stream says they were done for a row buffer of
  // `rowBufferLength` bytes; the guard comes back idle, since no pass of this
  // tree box is running.
  void SaveToStream(CQzuStream& stream, int64_t generation, int32_t rowBufferLength) const;
  void LoadFromStream(CQzuStream& stream, int64_t generation, int32_t rowBufferLength);

  // Busy and run-again flags of the pass protocol, for the index workers.
  rg_Tavelkin_MingLingJi::rg_TavelkinDuiLieWeiYiLei guard;

 private:
  bool m_twoTables;
  mutable std::mutex m_lock;
  std::shared_ptr<const TreeIndexTables> m_tables;
  int32_t m_done = 0;
  int32_t m_resetting = 0;
  int64_t m_builtFor = -1;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
