#pragma once
// TreeIndexWorkers: the background passes that build a tree box's four index
// tables (row offsets, parents, siblings, subtree ends) while the UI thread
// goes on changing and painting the rows.
//
// A request (UI thread) marks each table that is not built for the rows'
// present generation as being built for it, and hands its worker a snapshot
// of the rows (TreeBoxModel::TakeRowSnapshot, one copy shared by the four).
// The caller then runs the job of each table it got back, on a thread of
// its own (LaunchThread) or as a task of a thread pool that calls RunJob.
//
// Each table has one pass at a time, kept by the run-once guard of its index
// record: a job that finds a pass running only leaves the run-again mark. A
// running pass gives up at the next record when the mark is set and starts
// over on the newest snapshot, so any number of requests during a pass give
// exactly one more pass. A finished pass publishes its tables with their
// generation under the record's lock; tables of an older generation are
// refused there. A pass ends only when no request is pending at that very
// moment (EndRunUnlessAsked), so the last request is always served and the
// tables end current for the last generation asked for.
//
// A pass reads only its snapshot and the record it publishes to; it holds no
// lock that the UI thread's events need while it works.
//
// Stopping: RequestStop asks running passes to end (as a run-again mark does,
// without a new pass) and makes jobs that start later return at once;
// StopAndWait also waits until no pass runs and every thread started by
// LaunchThread has finished, after which nothing touches the model any more.
// Resume takes requests again (after a copy into the tree box).
//
// Threads: Request, LaunchThread, RequestStop, StopAndWait and Resume on the
// UI thread; RunJob on any thread.
#include <functional>
#include <memory>
#include <vector>

#include "foldertree/tree_box_model.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

// Job numbers of the tables, as the tree box queues them on its pool.
inline constexpr int kRowOffsetJob = 1;
inline constexpr int kSubtreeEndJob = 2;
inline constexpr int kParentJob = 3;
inline constexpr int kSiblingJob = 4;

// The job number of a built table, and the table of a job number (false for
// a number that is none of the four).
int IndexJobOf(TreeIndexKind kind);
bool IndexKindOfJob(int job, TreeIndexKind& kind);

class TreeIndexWorkers {
 public:
  explicit TreeIndexWorkers(TreeBoxModel& model);
  TreeIndexWorkers(const TreeIndexWorkers&) = delete;
  TreeIndexWorkers& operator=(const TreeIndexWorkers&) = delete;
  // StopAndWait.
  ~TreeIndexWorkers();

  // The jobs to run for the tables that are stale, in the order row offsets,
  // subtree ends, parents, siblings. An empty tree gets no job: its tables
  // are marked built for its generation and stay not done.
  std::vector<int> Request();
  // Runs the job on a new thread. When no thread can be made, on this one.
  void LaunchThread(int job);
  // The pass protocol of the job's table, on the calling thread.
  void RunJob(int job);

  void RequestStop();
  void StopAndWait();
  void Resume();

  // Passes begun for a table (each start over counts), for tests.
  int PassCount(TreeIndexKind kind) const;
  // Called on the worker's thread at the start of every pass, before the
  // table is built (tests hold a pass there). Set it while no pass runs.
  void SetPassStartHook(std::function<void(TreeIndexKind)> hook);

 private:
  struct Core;
  std::shared_ptr<Core> m_core;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
