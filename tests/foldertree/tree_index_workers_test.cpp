// The background index passes: requests during a pass fold into one more
// pass, changes during a pass end with tables current for the last rows, the
// workers' tables equal the synchronous ones, pool tasks and own threads, and
// a tree box destroyed while a pass runs (each pass held at its start by a
// hook, so the interleavings are forced rather than hoped for).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>

#include "foldertree/tree_box.h"
#include "foldertree/tree_index_workers.h"
#include "qt_pump.h"
#include "tree_model_test_util.h"

namespace {

using namespace qzu_test;
using rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinShuXingKuang;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeIndexKind;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeIndexWorkers;

constexpr TreeIndexKind kBuilt[] = {TreeIndexKind::kRowOffsets, TreeIndexKind::kParents, TreeIndexKind::kSiblings,
                                    TreeIndexKind::kSubtreeEnds};

// Holds the first pass of one table at its start until released. Declare it
// before the tree box or workers it holds, and a ReleaseOnExit after them, so
// that a failed assertion does not leave a pass waiting forever.
struct PassGate {
  std::mutex lock;
  std::condition_variable changed;
  bool entered = false;
  std::atomic<bool> released{false};
  bool held = false;
  std::atomic<int> left{0};

  std::function<void(TreeIndexKind)> HoldFirst(TreeIndexKind which) {
    return [this, which](TreeIndexKind kind) {
      std::unique_lock<std::mutex> hold(lock);
      if (kind != which || held) return;
      held = true;
      entered = true;
      changed.notify_all();
      changed.wait(hold, [this] { return released.load(); });
      ++left;
    };
  }
  bool WaitEntered() {
    std::unique_lock<std::mutex> hold(lock);
    return changed.wait_for(hold, std::chrono::seconds(10), [this] { return entered; });
  }
  void Release() {
    std::lock_guard<std::mutex> hold(lock);
    released = true;
    changed.notify_all();
  }
};

struct ReleaseOnExit {
  PassGate& gate;
  ~ReleaseOnExit() { gate.Release(); }
};

void Launch(TreeIndexWorkers& workers) {
  for (int job : workers.Request()) workers.LaunchThread(job);
}

bool AllReady(const TreeBoxModel& m) {
  return m.IsRowOffsetIndexReady() && m.IsRowParentIndexReady() && m.IsRowSiblingIndexReady() &&
         m.IsSubtreeEndIndexReady();
}

bool WaitAllReady(const TreeBoxModel& m) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!AllReady(m)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// The workers' tables against the same rows' tables built on this thread.
void ExpectSameTables(const TreeBoxModel& model) {
  TreeBoxModel reference = model;
  reference.StartTreeIndexWorkers();
  ASSERT_TRUE(AllReady(reference));
  for (TreeIndexKind kind : kBuilt) {
    const auto got = model.IndexRecord(kind).CurrentFor(model.GetGeneration());
    const auto want = reference.IndexRecord(kind).CurrentFor(reference.GetGeneration());
    ASSERT_TRUE(got && want) << static_cast<int>(kind);
    EXPECT_EQ(ToHex(got->first), ToHex(want->first)) << static_cast<int>(kind);
    EXPECT_EQ(ToHex(got->second), ToHex(want->second)) << static_cast<int>(kind);
  }
}

// Rows of Chinese names (whose bytes never form the marker) on a random walk
// of levels that keeps the level rule.
void AppendRandomTree(TreeBoxModel& model, int rows, unsigned seed) {
  std::mt19937 rng(seed);
  int level = 0;
  for (int i = 0; i < rows; ++i) {
    if (i > 0) level = rng() % 100 < 40 ? level + 1 : static_cast<int>(rng() % (level + 1));
    std::u16string name;
    for (int k = 0, n = 1 + static_cast<int>(rng() % 6); k < n; ++k)
      name += static_cast<char16_t>(0x4E00 + rng() % 0x5000);
    ASSERT_EQ(model.AppendTreeRow(CWString(name), static_cast<int>(rng() % 6) - 1, i, rng() % 4, level), 1);
  }
}

TreeBoxModel RandomTree(int rows, unsigned seed) {
  TreeBoxModel model;
  AppendRandomTree(model, rows, seed);
  return model;
}

}  // namespace

// Requests made while a pass runs (here by pool-style jobs on this thread,
// which find the pass busy and leave the run-again mark) give exactly one
// more pass, which works on the newest rows.
TEST(TreeIndexWorkersTest, TwoRequestsDuringAPassGiveExactlyOneMorePass) {
  TreeBoxModel model = RandomTree(3000, 1);
  PassGate gate;
  TreeIndexWorkers workers(model);
  ReleaseOnExit release{gate};
  workers.SetPassStartHook(gate.HoldFirst(TreeIndexKind::kRowOffsets));
  // The row offsets on a thread of their own, held at their start; the other
  // tables' passes run right here, to their end.
  for (int job : workers.Request()) {
    if (job == rg_TavelkinMingLingJi_ChuangKouZuJian::kRowOffsetJob) workers.LaunchThread(job);
    else workers.RunJob(job);
  }
  ASSERT_TRUE(gate.WaitEntered());

  for (int k = 0; k < 2; ++k) {
    model.AppendTreeRow(u"新行", 5, 0, 0, 0);
    for (int job : workers.Request()) workers.RunJob(job);
  }
  EXPECT_TRUE(model.IsRowParentIndexReady());
  EXPECT_FALSE(model.IsRowOffsetIndexReady());
  gate.Release();
  ASSERT_TRUE(WaitAllReady(model));
  workers.StopAndWait();
  EXPECT_EQ(gate.left.load(), 1);
  EXPECT_EQ(workers.PassCount(TreeIndexKind::kRowOffsets), 2);
  // Three requests for each of the others, each run to its end at once.
  EXPECT_EQ(workers.PassCount(TreeIndexKind::kParents), 3);
  ExpectSameTables(model);
}

// A change of the rows during a pass, requested through its own thread as a
// paint does: the tables end current for the rows as they are now, in every
// table, whatever the order in which the threads come.
TEST(TreeIndexWorkersTest, AChangeDuringAPassEndsWithCurrentTables) {
  for (TreeIndexKind held : kBuilt) {
    TreeBoxModel model = RandomTree(2000, 2 + static_cast<unsigned>(held));
    PassGate gate;
    TreeIndexWorkers workers(model);
    ReleaseOnExit release{gate};
    workers.SetPassStartHook(gate.HoldFirst(held));
    Launch(workers);
    ASSERT_TRUE(gate.WaitEntered());
    TreeRowLocator locator;
    ASSERT_GE(model.InsertTreeRow(0, u"插入的子目录", 5, 4, 0, locator, 1), 1);
    Launch(workers);
    gate.Release();
    ASSERT_TRUE(WaitAllReady(model)) << static_cast<int>(held);
    workers.StopAndWait();
    ExpectSameTables(model);
    // Nothing is left busy: a later change is served again.
    model.AppendTreeRow(u"末尾", 5, 0, 0, 0);
    workers.Resume();
    Launch(workers);
    ASSERT_TRUE(WaitAllReady(model));
    workers.StopAndWait();
    ExpectSameTables(model);
  }
}

// Many changes and requests racing with the passes on their threads: at
// the end the tables describe the last rows (ThreadSanitizer watches this).
TEST(TreeIndexWorkersTest, RequestsRacingWithPassesEndCurrent) {
  TreeBoxModel model = RandomTree(500, 9);
  TreeIndexWorkers workers(model);
  for (int k = 0; k < 200; ++k) {
    model.AppendTreeRow(CWString::FromInt(k), 5, 0, 0, k % 3 == 0 ? 0 : 1);
    Launch(workers);
    if (k % 17 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ASSERT_TRUE(WaitAllReady(model));
  workers.StopAndWait();
  ExpectSameTables(model);
}

TEST(TreeIndexWorkersTest, AnEmptyTreeGetsNoJobAndNoTable) {
  TreeBoxModel model;
  TreeIndexWorkers workers(model);
  EXPECT_TRUE(workers.Request().empty());
  EXPECT_TRUE(workers.Request().empty());  // marked built for its generation
  EXPECT_FALSE(model.IsRowOffsetIndexReady());
  model.AppendTreeRow(u"A", -1, 0, 0, 0);
  EXPECT_EQ(workers.Request(), (std::vector<int>{1, 2, 3, 4}));
}

// The tree box starts its passes at every paint; in pool mode they are
// tasks of its own pool, run by its pool's threads.
TEST(TreeIndexWorkersTest, PoolModeRunsThePassesOnTheTreeBoxsPool) {
  rg_TavelkinShuXingKuang box;
  box.poolMode = 1;
  AppendRandomTree(box.Model(), 1500, 4);
  std::mutex lock;
  std::vector<std::thread::id> threads;
  box.IndexWorkers().SetPassStartHook([&](TreeIndexKind) {
    std::lock_guard<std::mutex> hold(lock);
    threads.push_back(std::this_thread::get_id());
  });
  EXPECT_EQ(box.StartTreeIndexWorkers(), 1);
  EXPECT_EQ(box.threadPool.GetTargetCount(), 4);
  ASSERT_TRUE(WaitAllReady(box.Model()));
  {
    std::lock_guard<std::mutex> hold(lock);
    ASSERT_EQ(threads.size(), 4u);
    for (const std::thread::id& id : threads) EXPECT_NE(id, std::this_thread::get_id());
  }
  ExpectSameTables(box.Model());
  // A task from another pool is not this tree box's.
  rg_Tavelkin_MingLingJi::rg_TavelkinXianChengChiLei other;
  box.Model().AppendTreeRow(u"x", -1, 0, 0, 0);
  box.IndexWorkers().Request();
  EXPECT_EQ(box.RunTreeIndexJob(&other, 1), 0);
  EXPECT_FALSE(box.Model().IsRowOffsetIndexReady());
  EXPECT_EQ(box.RunTreeIndexJob(&box.threadPool, 1), 0);
  EXPECT_TRUE(box.Model().IsRowOffsetIndexReady());
  // Pool mode off: the pool is told to let its threads go.
  box.Model().AppendTreeRow(u"y", -1, 0, 0, 0);
  box.poolMode = 0;
  box.StartTreeIndexWorkers();
  EXPECT_EQ(box.threadPool.GetTargetCount(), 0);
  ASSERT_TRUE(WaitAllReady(box.Model()));
}

// Destroying the tree box while a pass runs, on its own thread or on the
// pool: the destructor stops the pass and waits for it before the rows go.
TEST(TreeIndexWorkersTest, DestroyingTheTreeBoxMidPassWaitsForThePass) {
  for (int pool : {0, 1}) {
    PassGate gate;
    auto* box = new rg_TavelkinShuXingKuang();
    box->poolMode = pool;
    AppendRandomTree(box->Model(), 20000, 5);
    std::atomic<int> passesAfterRelease{0};
    box->IndexWorkers().SetPassStartHook([&, hold = gate.HoldFirst(TreeIndexKind::kSiblings)](TreeIndexKind kind) {
      if (gate.released) ++passesAfterRelease;
      hold(kind);
    });
    box->StartTreeIndexWorkers();
    if (!gate.WaitEntered()) {
      gate.Release();
      delete box;
      FAIL() << "no pass started";
    }
    std::thread releaser([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      gate.Release();
    });
    delete box;  // returns only after the held pass has ended
    EXPECT_EQ(gate.left.load(), 1) << pool;
    releaser.join();
    EXPECT_EQ(passesAfterRelease.load(), 0) << pool;
  }
}

// A copy of a tree box taken while the source's pass runs starts idle and
// builds its own tables; the source's pass still ends current.
TEST(TreeIndexWorkersTest, ACopyStartsWithIdleWorkers) {
  PassGate gate;
  rg_TavelkinShuXingKuang source;
  ReleaseOnExit release{gate};
  AppendRandomTree(source.Model(), 1000, 6);
  source.IndexWorkers().SetPassStartHook(gate.HoldFirst(TreeIndexKind::kParents));
  source.StartTreeIndexWorkers();
  ASSERT_TRUE(gate.WaitEntered());
  rg_TavelkinShuXingKuang copy;
  ASSERT_EQ(copy.CopyFrom(source), 1);
  EXPECT_EQ(copy.Model().IndexGuard(TreeIndexKind::kParents).busy.load(), 0);
  EXPECT_EQ(source.Model().IndexGuard(TreeIndexKind::kParents).busy.load(), 1);
  copy.Model().AppendTreeRow(u"副本", 5, 0, 0, 0);
  copy.StartTreeIndexWorkers();
  ASSERT_TRUE(WaitAllReady(copy.Model()));
  gate.Release();
  ASSERT_TRUE(WaitAllReady(source.Model()));
  EXPECT_EQ(copy.Model().GetRowCount(), source.Model().GetRowCount() + 1);
  ExpectSameTables(copy.Model());
  ExpectSameTables(source.Model());
}
