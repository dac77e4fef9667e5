#include "foldertree/tree_index_workers.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "foldertree/tree_index_builders.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

namespace {

constexpr TreeIndexKind kBuiltKinds[] = {TreeIndexKind::kRowOffsets, TreeIndexKind::kSubtreeEnds,
                                         TreeIndexKind::kParents, TreeIndexKind::kSiblings};

int Slot(TreeIndexKind kind) { return static_cast<int>(kind); }

}  // namespace

int IndexJobOf(TreeIndexKind kind) {
  switch (kind) {
    case TreeIndexKind::kRowOffsets:
      return kRowOffsetJob;
    case TreeIndexKind::kSubtreeEnds:
      return kSubtreeEndJob;
    case TreeIndexKind::kParents:
      return kParentJob;
    case TreeIndexKind::kSiblings:
      return kSiblingJob;
    default:
      return 0;
  }
}

bool IndexKindOfJob(int job, TreeIndexKind& kind) {
  for (TreeIndexKind k : kBuiltKinds) {
    if (IndexJobOf(k) == job) {
      kind = k;
      return true;
    }
  }
  return false;
}

// Shared with the threads the workers start, so that what a thread touches
// after its last look at the model (counting itself out) outlives the tree
// box.
struct TreeIndexWorkers::Core {
  explicit Core(TreeBoxModel& m) : model(m) {}

  void RunPasses(TreeIndexKind kind);

  TreeBoxModel& model;
  std::mutex lock;
  std::condition_variable changed;
  // Passes between their admission and their end, on any thread: while one
  // is counted it may touch the model.
  int running = 0;
  // Threads started by LaunchThread that have not finished.
  int threads = 0;
  bool stopping = false;
  // The newest rows asked for, per table.
  std::shared_ptr<const TreeRowSnapshot> pending[4];
  std::atomic<int> passes[4] = {};
  std::function<void(TreeIndexKind)> hook;
};

void TreeIndexWorkers::Core::RunPasses(TreeIndexKind kind) {
  {
    std::lock_guard<std::mutex> hold(lock);
    if (stopping) return;
    ++running;
  }
  rg_Tavelkin_MingLingJi::rg_TavelkinDuiLieWeiYiLei& guard = model.IndexGuard(kind);
  if (guard.TryEnterOnce()) {
    for (;;) {
      std::shared_ptr<const TreeRowSnapshot> rows;
      std::function<void(TreeIndexKind)> passHook;
      bool stop;
      {
        std::lock_guard<std::mutex> hold(lock);
        rows = pending[Slot(kind)];
        passHook = hook;
        stop = stopping;
      }
      if (stop) {
        guard.EndRun();
        break;
      }
      ++passes[Slot(kind)];
      if (passHook) passHook(kind);
      // The run-again mark, set by a newer request or by a stop, makes the
      // builder give up at its next record.
      if (rows && !rows->rows.IsEmpty()) {
        auto tables = std::make_shared<TreeIndexTables>();
        tables->generation = rows->generation;
        if (BuildIndexTables(kind, rows->View(), *tables, &guard.runAgain))
          model.PublishIndexTables(kind, std::move(tables));
      }
      if (guard.EndRunUnlessAsked()) break;
    }
  }
  std::lock_guard<std::mutex> hold(lock);
  --running;
  changed.notify_all();
}

TreeIndexWorkers::TreeIndexWorkers(TreeBoxModel& model) : m_core(std::make_shared<Core>(model)) {}

TreeIndexWorkers::~TreeIndexWorkers() { StopAndWait(); }

std::vector<int> TreeIndexWorkers::Request() {
  std::vector<int> jobs;
  TreeBoxModel& model = m_core->model;
  const int64_t generation = model.GetGeneration();
  std::shared_ptr<const TreeRowSnapshot> rows;
  for (TreeIndexKind kind : kBuiltKinds) {
    if (model.IndexRecord(kind).BuiltFor() == generation) continue;
    // First the record, then the rows: a pass that finishes in between
    // publishes for an older generation and is refused.
    model.BeginIndexPass(kind, generation);
    if (model.RowBuffer().IsEmpty()) continue;
    if (!rows) rows = model.TakeRowSnapshot();
    {
      std::lock_guard<std::mutex> hold(m_core->lock);
      m_core->pending[Slot(kind)] = rows;
    }
    jobs.push_back(IndexJobOf(kind));
  }
  return jobs;
}

void TreeIndexWorkers::RunJob(int job) {
  TreeIndexKind kind;
  if (IndexKindOfJob(job, kind)) m_core->RunPasses(kind);
}

void TreeIndexWorkers::LaunchThread(int job) {
  TreeIndexKind kind;
  if (!IndexKindOfJob(job, kind)) return;
  {
    std::lock_guard<std::mutex> hold(m_core->lock);
    if (m_core->stopping) return;
    ++m_core->threads;
  }
  std::shared_ptr<Core> core = m_core;
  try {
    std::thread([core, kind] {
      core->RunPasses(kind);
      std::lock_guard<std::mutex> hold(core->lock);
      --core->threads;
      core->changed.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the pass runs here rather than never.
    {
      std::lock_guard<std::mutex> hold(m_core->lock);
      --m_core->threads;
    }
    m_core->RunPasses(kind);
  }
}

void TreeIndexWorkers::RequestStop() {
  {
    std::lock_guard<std::mutex> hold(m_core->lock);
    m_core->stopping = true;
  }
  // A running pass sees the mark at its next record; a pass admitted after
  // this sees the stop before it builds anything.
  for (TreeIndexKind kind : kBuiltKinds) {
    rg_Tavelkin_MingLingJi::rg_TavelkinDuiLieWeiYiLei& guard = m_core->model.IndexGuard(kind);
    rg_Ombrine_base::rg_HuChiSuoLei::Guard hold(guard.lock);
    if (guard.busy.load()) guard.runAgain = 1;
  }
}

void TreeIndexWorkers::StopAndWait() {
  RequestStop();
  std::unique_lock<std::mutex> hold(m_core->lock);
  m_core->changed.wait(hold, [this] { return m_core->running == 0 && m_core->threads == 0; });
}

void TreeIndexWorkers::Resume() {
  std::lock_guard<std::mutex> hold(m_core->lock);
  m_core->stopping = false;
}

int TreeIndexWorkers::PassCount(TreeIndexKind kind) const {
  const int slot = Slot(kind);
  return slot < 4 ? m_core->passes[slot].load() : 0;
}

void TreeIndexWorkers::SetPassStartHook(std::function<void(TreeIndexKind)> hook) {
  std::lock_guard<std::mutex> hold(m_core->lock);
  m_core->hook = std::move(hook);
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
