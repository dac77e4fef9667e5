// The thread pool: how many workers run, the order and thread of its tasks,
// the active count, and destroying a pool whose workers are busy. Waits poll
// a condition with a deadline; nothing relies on how long a sleep lasts.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/event.h"
#include "platform/ticks.h"
#include "services/thread_pool.h"
#include "test_support.h"

using qzu_test::WaitFor;
using rg_Tavelkin_MingLingJi::rg_TavelkinXianChengChiLei;

namespace {

struct Task {
  intptr_t first, second, third;
  std::string firstText, secondText, thirdText;
  std::thread::id thread;
};

// Receives the task events; what a handler does is set per test.
struct Receiver : CQzuObject {
  std::mutex lock;
  std::vector<Task> tasks;
  std::atomic<int> inside{0};
  std::atomic<int> done{0};
  std::atomic<bool> release{true};
  int sleepMs = 0;
};

intptr_t OnTask(CQzuObject* receiver, CQzuObject*, intptr_t, intptr_t a, intptr_t b, intptr_t c, const CWString& x,
                const CWString& y, const CWString& z) {
  auto* r = static_cast<Receiver*>(receiver);
  ++r->inside;
  {
    std::lock_guard<std::mutex> guard(r->lock);
    r->tasks.push_back({a, b, c, x.ToUtf8(), y.ToUtf8(), z.ToUtf8(), std::this_thread::get_id()});
  }
  while (!r->release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (r->sleepMs) SleepMilliseconds(static_cast<uint32_t>(r->sleepMs));
  --r->inside;
  ++r->done;
  return 0;
}

class ThreadPoolTest : public ::testing::Test {
 protected:
  void Connect(rg_TavelkinXianChengChiLei& pool) { pool.taskEvent.Connect(&OnTask, receiverRef); }
  Receiver receiver;
  CQzuReceiverRef receiverRef = CQzuReceiverRef::Make(&receiver);
};

TEST_F(ThreadPoolTest, WorkerCountFollowsTheTargetUpAndDown) {
  rg_TavelkinXianChengChiLei pool;
  pool.SetPoolThreadCount(4);
  EXPECT_EQ(pool.GetTargetCount(), 4);
  EXPECT_EQ(pool.GetRunningCount(), 4);
  pool.SetPoolThreadCount(4);  // starts none
  EXPECT_EQ(pool.GetRunningCount(), 4);

  pool.SetPoolThreadCount(1);
  ASSERT_TRUE(WaitFor([&] { return pool.GetRunningCount() == 1; }));

  pool.SetPoolThreadCount(0);
  ASSERT_TRUE(WaitFor([&] { return pool.GetRunningCount() == 0; }));

  // Without workers a task waits in the queue, and runs once workers start.
  Connect(pool);
  pool.AddPoolTask(7, 0, 0, u"", u"", u"");
  EXPECT_EQ(pool.GetQueuedCount(), 1);
  EXPECT_EQ(receiver.done.load(), 0);
  pool.SetPoolThreadCount(2);
  EXPECT_EQ(pool.GetRunningCount(), 2);
  ASSERT_TRUE(WaitFor([&] { return receiver.done.load() == 1; }));
  EXPECT_EQ(pool.GetQueuedCount(), 0);
}

TEST_F(ThreadPoolTest, OneWorkerRunsTasksInOrderOffTheCallingThreadWithTheirValues) {
  rg_TavelkinXianChengChiLei pool;
  Connect(pool);
  for (int i = 1; i <= 4; ++i) {
    const std::string n = std::to_string(i);
    pool.AddPoolTask(i, 10 * i, -100 * i, CWString::FromUtf8("路径" + n), CWString::FromUtf8("b" + n),
                     CWString::FromUtf8(""));
  }
  pool.SetPoolThreadCount(1);
  ASSERT_TRUE(WaitFor([&] { return receiver.done.load() == 4; }));

  std::lock_guard<std::mutex> guard(receiver.lock);
  ASSERT_EQ(receiver.tasks.size(), 4u);
  for (int i = 1; i <= 4; ++i) {
    const Task& t = receiver.tasks[static_cast<size_t>(i - 1)];
    EXPECT_EQ(t.first, i);
    EXPECT_EQ(t.second, 10 * i);
    EXPECT_EQ(t.third, -100 * i);
    EXPECT_EQ(t.firstText, "路径" + std::to_string(i));
    EXPECT_EQ(t.secondText, "b" + std::to_string(i));
    EXPECT_EQ(t.thirdText, "");
    EXPECT_NE(t.thread, std::this_thread::get_id());
    EXPECT_EQ(t.thread, receiver.tasks[0].thread);
  }
}

TEST_F(ThreadPoolTest, TaskWithoutHandlerIsConsumedSilently) {
  rg_TavelkinXianChengChiLei pool;
  pool.AddPoolTask(1, 2, 3, u"a", u"b", u"c");
  pool.SetPoolThreadCount(1);
  ASSERT_TRUE(WaitFor([&] { return pool.GetQueuedCount() == 0; }));
  // Connected afterwards (with no worker reading the slot meanwhile): the
  // consumed task is gone for good.
  pool.SetPoolThreadCount(0);
  ASSERT_TRUE(WaitFor([&] { return pool.GetRunningCount() == 0; }));
  Connect(pool);
  pool.AddPoolTask(5, 0, 0, u"", u"", u"");
  pool.SetPoolThreadCount(1);
  ASSERT_TRUE(WaitFor([&] { return receiver.done.load() == 1; }));
  std::lock_guard<std::mutex> guard(receiver.lock);
  ASSERT_EQ(receiver.tasks.size(), 1u);
  EXPECT_EQ(receiver.tasks[0].first, 5);
}

TEST_F(ThreadPoolTest, ActiveCountIsOneWhileAHandlerRuns) {
  rg_TavelkinXianChengChiLei pool;
  Connect(pool);
  receiver.release = false;
  pool.AddPoolTask(1, 0, 0, u"", u"", u"");
  pool.SetPoolThreadCount(1);
  ASSERT_TRUE(WaitFor([&] { return receiver.inside.load() == 1; }));
  EXPECT_EQ(pool.GetActiveCount(), 1);
  EXPECT_EQ(pool.GetQueuedCount(), 0);  // taken off the queue before its event
  receiver.release = true;
  ASSERT_TRUE(WaitFor([&] { return receiver.done.load() == 1; }));
  ASSERT_TRUE(WaitFor([&] { return pool.GetActiveCount() == 0; }));
}

TEST_F(ThreadPoolTest, DestroyingABusyPoolWaitsForItsWorkers) {
  auto pool = std::make_unique<rg_TavelkinXianChengChiLei>();
  Connect(*pool);
  receiver.sleepMs = 2;
  for (int i = 0; i < 200; ++i) pool->AddPoolTask(i, 0, 0, u"t", u"", u"");
  pool->SetPoolThreadCount(4);
  ASSERT_TRUE(WaitFor([&] { return receiver.done.load() >= 4; }));
  pool.reset();

  // No handler is running and none starts after the pool is gone.
  EXPECT_EQ(receiver.inside.load(), 0);
  const int doneAtDestruction = receiver.done.load();
  EXPECT_LT(doneAtDestruction, 200);
  SleepMilliseconds(30);
  EXPECT_EQ(receiver.done.load(), doneAtDestruction);
}

TEST_F(ThreadPoolTest, CopyTakesQueuedTasksButNotWorkers) {
  rg_TavelkinXianChengChiLei pool;
  pool.AddPoolTask(3, 4, 5, u"x", u"y", u"z");
  pool.SetPoolThreadCount(0);
  rg_TavelkinXianChengChiLei copy(pool);
  EXPECT_EQ(copy.GetQueuedCount(), 1);
  EXPECT_EQ(copy.GetRunningCount(), 0);
  EXPECT_FALSE(copy.taskEvent.IsConnected());
  EXPECT_FALSE(copy.IsEqual(pool));
  EXPECT_TRUE(pool.IsEqual(pool));

  // The copy's queue is its own: its worker runs the task once, the source
  // keeps its entry.
  Connect(copy);
  copy.SetPoolThreadCount(1);
  ASSERT_TRUE(WaitFor([&] { return receiver.done.load() == 1; }));
  EXPECT_EQ(pool.GetQueuedCount(), 1);
  std::lock_guard<std::mutex> guard(receiver.lock);
  EXPECT_EQ(receiver.tasks[0].third, 5);
  EXPECT_EQ(receiver.tasks[0].thirdText, "z");
}

TEST_F(ThreadPoolTest, StreamFormKeepsTheQueue) {
  rg_TavelkinXianChengChiLei pool;
  pool.AddPoolTask(1, 2, 3, u"一", u"二", u"三");
  pool.AddPoolTask(4, 5, 6, u"", u"", u"");
  CQzuMemStream stream;
  pool.SaveToStream(stream);
  ASSERT_TRUE(stream.Ok());
  stream.Rewind();
  rg_TavelkinXianChengChiLei loaded;
  loaded.LoadFromStream(stream);
  ASSERT_TRUE(stream.Ok());
  EXPECT_EQ(loaded.GetQueuedCount(), 2);
  EXPECT_EQ(loaded.GetRunningCount(), 0);

  Connect(loaded);
  loaded.SetPoolThreadCount(1);
  ASSERT_TRUE(WaitFor([&] { return receiver.done.load() == 2; }));
  std::lock_guard<std::mutex> guard(receiver.lock);
  EXPECT_EQ(receiver.tasks[0].secondText, "二");
  EXPECT_EQ(receiver.tasks[1].third, 6);
}

}  // namespace
