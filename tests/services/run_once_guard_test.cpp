// The run-once guard: one caller in, later callers leave a run-again mark that
// the running job takes at a checkpoint, and the end clears both flags.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "services/run_once_guard.h"

using rg_Tavelkin_MingLingJi::rg_TavelkinDuiLieWeiYiLei;

namespace {

TEST(RunOnceGuardTest, SecondEntryLeavesTheRunAgainMark) {
  rg_TavelkinDuiLieWeiYiLei guard;
  EXPECT_EQ(guard.TryEnterOnce(), 1);
  EXPECT_EQ(guard.busy.load(), 1);
  EXPECT_EQ(guard.runAgain.load(), 0);
  EXPECT_EQ(guard.TryEnterOnce(), 0);
  EXPECT_EQ(guard.runAgain.load(), 1);

  // Checkpoint: the mark is taken once.
  EXPECT_EQ(guard.TakeRunAgain(), 1);
  EXPECT_EQ(guard.runAgain.load(), 0);
  EXPECT_EQ(guard.TakeRunAgain(), 0);
  EXPECT_EQ(guard.busy.load(), 1);

  // A request after the last checkpoint is dropped by the end.
  EXPECT_EQ(guard.TryEnterOnce(), 0);
  guard.EndRun();
  EXPECT_EQ(guard.busy.load(), 0);
  EXPECT_EQ(guard.runAgain.load(), 0);
  EXPECT_EQ(guard.TryEnterOnce(), 1);
}

TEST(RunOnceGuardTest, CopySharesTheLockAndTakesTheFlags) {
  rg_TavelkinDuiLieWeiYiLei guard;
  guard.TryEnterOnce();
  guard.TryEnterOnce();
  rg_TavelkinDuiLieWeiYiLei copy(guard);
  EXPECT_TRUE(copy.lock.SharesWith(guard.lock));
  EXPECT_EQ(copy.busy.load(), 1);
  EXPECT_EQ(copy.runAgain.load(), 1);
  EXPECT_FALSE(copy.IsEqual(guard));
  EXPECT_TRUE(copy.IsEqual(copy));

  CQzuMemStream stream;
  copy.SaveToStream(stream);
  stream.Rewind();
  rg_TavelkinDuiLieWeiYiLei loaded;
  loaded.LoadFromStream(stream);
  ASSERT_TRUE(stream.Ok());
  EXPECT_EQ(loaded.busy.load(), 1);
  EXPECT_EQ(loaded.runAgain.load(), 1);
  EXPECT_FALSE(loaded.lock.SharesWith(guard.lock));
}

// Threads asking for the job at once: one runs it, and a job that finds the
// mark at its checkpoint starts over, so every request made before the last
// checkpoint is served by some run.
TEST(RunOnceGuardTest, ConcurrentRequestsFoldIntoRunsOfOneJob) {
  rg_TavelkinDuiLieWeiYiLei guard;
  std::atomic<int> inside{0};
  std::atomic<int> overlap{0};
  std::atomic<int> runs{0};
  std::atomic<int> entered{0};

  auto request = [&] {
    if (guard.TryEnterOnce() == 0) return;
    ++entered;
    do {
      if (++inside > 1) ++overlap;
      ++runs;
      std::this_thread::yield();
      --inside;
    } while (guard.TakeRunAgain() == 1);
    guard.EndRun();
  };

  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&] {
      for (int k = 0; k < 200; ++k) request();
    });
  for (std::thread& t : threads) t.join();

  EXPECT_EQ(overlap.load(), 0);
  EXPECT_GE(entered.load(), 1);
  EXPECT_GE(runs.load(), entered.load());
  EXPECT_EQ(guard.busy.load(), 0);
  EXPECT_EQ(guard.runAgain.load(), 0);
}

// The end that checks for a request in the same hold of the lock: a request
// that arrives at any moment before the job is over gets a run that sees it.
TEST(RunOnceGuardTest, EndingUnlessAskedLosesNoRequest) {
  rg_TavelkinDuiLieWeiYiLei guard;
  ASSERT_EQ(guard.TryEnterOnce(), 1);
  EXPECT_EQ(guard.TryEnterOnce(), 0);
  EXPECT_EQ(guard.EndRunUnlessAsked(), 0);  // asked: the mark is taken, the job goes on
  EXPECT_EQ(guard.busy.load(), 1);
  EXPECT_EQ(guard.runAgain.load(), 0);
  EXPECT_EQ(guard.EndRunUnlessAsked(), 1);
  EXPECT_EQ(guard.busy.load(), 0);

  std::atomic<int> requested{0};
  std::atomic<int> seen{0};
  auto request = [&] {
    ++requested;
    if (guard.TryEnterOnce() == 0) return;
    do {
      const int now = requested.load();
      int was = seen.load();
      while (was < now && !seen.compare_exchange_weak(was, now)) {
      }
      std::this_thread::yield();
    } while (guard.EndRunUnlessAsked() == 0);
  };
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&] {
      for (int k = 0; k < 500; ++k) request();
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(seen.load(), requested.load());
  EXPECT_EQ(guard.busy.load(), 0);
  EXPECT_EQ(guard.runAgain.load(), 0);
}

}  // namespace

