// The work queue: duplicates dropped before an item is handled, requests
// appended from inside the item event (as message pumping delivers them), and
// a drain started from inside the item event returning at once, and requests
// from worker threads handled on the UI thread.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/event.h"
#include "qt_pump.h"
#include "services/work_queue.h"
#include "test_support.h"

using qzu_test::Mem;
using rg_Tavelkin_MingLingJi::rg_TavelkinDuiLieLei;

namespace {

struct Handler : CQzuObject {
  std::vector<std::string> handled;
  std::vector<int> pendingAtEvent;  // items in the queue when the event came
  std::vector<int> busyAtEvent;
  std::vector<std::thread::id> threads;
  // Appended through AddRequest inside the event for the item of this text.
  std::string appendOn;
  std::vector<std::string> toAppend;
  bool drainInside = false;
  int nestedDrainPending = -1;  // items left after a nested DrainQueue
};

intptr_t OnItem(CQzuObject* receiver, CQzuObject* sender, intptr_t, const CQzuMem& item) {
  auto* h = static_cast<Handler*>(receiver);
  auto* queue = static_cast<rg_TavelkinDuiLieLei*>(sender);
  const std::string text(item.View());
  h->handled.push_back(text);
  h->pendingAtEvent.push_back(queue->GetCount());
  h->busyAtEvent.push_back(queue->busy);
  h->threads.push_back(std::this_thread::get_id());
  if (text == h->appendOn) {
    h->appendOn.clear();  // once
    for (const std::string& s : h->toAppend) queue->AddRequest(Mem(s));
    if (h->drainInside) {
      queue->DrainQueue();
      h->nestedDrainPending = queue->GetCount();
    }
  }
  return 0;
}

class WorkQueueTest : public ::testing::Test {
 protected:
  void SetUp() override { queue.itemEvent.Connect(&OnItem, handlerRef); }
  // Fills the queue the way an owner does while a drain is not running.
  void Fill(const std::vector<std::string>& requests) {
    for (const std::string& r : requests) queue.items.push_back(Mem(r));
  }
  Handler handler;
  CQzuReceiverRef handlerRef = CQzuReceiverRef::Make(&handler);
  rg_TavelkinDuiLieLei queue;
};

TEST_F(WorkQueueTest, LaterDuplicatesAreDroppedBeforeTheFirstIsHandled) {
  struct Case {
    std::vector<std::string> queued;
    std::vector<std::string> handled;
    std::vector<int> pending;  // queue length at each event
  };
  const Case cases[] = {
      {{"A", "B", "A", "A"}, {"A", "B"}, {2, 1}},
      {{"A", "B", "A"}, {"A", "B"}, {2, 1}},
      {{"A", "B", "B", "C", "A"}, {"A", "B", "C"}, {4, 2, 1}},
      {{"AB", "A", std::string("AB\0", 3)}, {"AB", "A", std::string("AB\0", 3)}, {3, 2, 1}},
  };
  for (const Case& c : cases) {
    handler = Handler();
    Fill(c.queued);
    queue.DrainQueue();
    EXPECT_EQ(handler.handled, c.handled);
    EXPECT_EQ(handler.pendingAtEvent, c.pending);
    EXPECT_EQ(handler.busyAtEvent, std::vector<int>(c.handled.size(), 1));
    EXPECT_EQ(queue.GetCount(), 0);
    EXPECT_EQ(queue.busy, 0);
  }
}

TEST_F(WorkQueueTest, NullAndEmptyRequestsDiffer) {
  queue.items.push_back(CQzuMem());
  queue.items.push_back(CQzuMem::Null());
  queue.items.push_back(CQzuMem());
  queue.DrainQueue();
  EXPECT_EQ(handler.handled.size(), 2u);
}

TEST_F(WorkQueueTest, RequestEqualToTheOneBeingHandledRunsOnceMoreAfterwards) {
  handler.appendOn = "A";
  handler.toAppend = {"A", "C", "A"};
  queue.AddRequest(Mem("A"));
  EXPECT_EQ(handler.handled, (std::vector<std::string>{"A", "A", "C"}));
  EXPECT_EQ(queue.GetCount(), 0);
  EXPECT_EQ(queue.busy, 0);
}

TEST_F(WorkQueueTest, NestedDrainReturnsAtOnceAndTheOuterOneHandlesTheRest) {
  handler.appendOn = "A";
  handler.toAppend = {"B", "C"};
  handler.drainInside = true;
  Fill({"A"});
  queue.DrainQueue();
  // The nested drain handled nothing: A and the two new items were still
  // there when it returned.
  EXPECT_EQ(handler.nestedDrainPending, 3);
  EXPECT_EQ(handler.handled, (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(queue.GetCount(), 0);
}

TEST_F(WorkQueueTest, EmptyQueueDrainsToNothing) {
  queue.DrainQueue();
  EXPECT_TRUE(handler.handled.empty());
  EXPECT_EQ(queue.busy, 0);
}

TEST_F(WorkQueueTest, CopySharesTheLockAndCopiesTheItems) {
  Fill({"x", "y"});
  rg_TavelkinDuiLieLei copy(queue);
  EXPECT_TRUE(copy.lock.SharesWith(queue.lock));
  EXPECT_EQ(copy.GetCount(), 2);
  EXPECT_FALSE(copy.itemEvent.IsConnected());
  EXPECT_FALSE(copy.IsEqual(queue));
  copy.DrainQueue();  // unconnected: the items go without events
  EXPECT_EQ(copy.GetCount(), 0);
  EXPECT_EQ(queue.GetCount(), 2);
  EXPECT_TRUE(handler.handled.empty());
}

TEST_F(WorkQueueTest, StreamFormKeepsItemsAndFlag) {
  Fill({"one", "", "three"});
  CQzuMemStream stream;
  queue.SaveToStream(stream);
  stream.Rewind();
  rg_TavelkinDuiLieLei loaded;
  loaded.LoadFromStream(stream);
  ASSERT_TRUE(stream.Ok());
  ASSERT_EQ(loaded.GetCount(), 3);
  EXPECT_EQ(std::string(loaded.items[2].View()), "three");
  EXPECT_EQ(loaded.busy, 0);
}

// Workers add bursts; the items are handled only when the UI thread pumps,
// on the UI thread, each burst of equal requests once.
TEST_F(WorkQueueTest, RequestsFromWorkersAreHandledOnTheUiThread) {
  std::vector<std::thread> workers;
  for (int w = 0; w < 4; ++w)
    workers.emplace_back([this] {
      for (int i = 0; i < 50; ++i) queue.AddRequest(Mem("A"));
    });
  for (std::thread& t : workers) t.join();
  std::thread([this] { queue.AddRequest(Mem("B")); }).join();
  EXPECT_TRUE(handler.handled.empty());  // nothing ran on the workers
  ASSERT_TRUE(qzu_test::PumpUntil([&] { return queue.GetCount() == 0; }));
  EXPECT_EQ(handler.handled, (std::vector<std::string>{"A", "B"}));
  for (std::thread::id id : handler.threads) EXPECT_EQ(id, std::this_thread::get_id());
  // A drain asked for on a worker is handed over too.
  queue.items.push_back(Mem("C"));
  std::thread([this] { queue.DrainQueue(); }).join();
  EXPECT_EQ(queue.GetCount(), 1);
  ASSERT_TRUE(qzu_test::PumpUntil([&] { return queue.GetCount() == 0; }));
  EXPECT_EQ(handler.handled.back(), "C");
}

// A handler that waits for a worker (stopping index workers, say) while the
// worker adds a request: the worker does not wait for the handler.
TEST_F(WorkQueueTest, AWorkerAddsWhileAnItemIsHandled) {
  struct Waiter : CQzuObject {
    rg_TavelkinDuiLieLei* queue = nullptr;
    std::vector<std::string> handled;
    bool workerFinished = false;
  } waiter;
  waiter.queue = &queue;
  CQzuReceiverRef waiterRef = CQzuReceiverRef::Make(&waiter);
  queue.itemEvent.Connect([](CQzuObject* r, CQzuObject*, intptr_t, const CQzuMem& item) -> intptr_t {
    auto* w = static_cast<Waiter*>(r);
    w->handled.emplace_back(item.View());
    if (item.View() != "first") return 0;
    std::atomic<bool> done{false};
    std::thread worker([&] {
      w->queue->AddRequest(Mem("from worker"));
      done = true;
    });
    w->workerFinished = qzu_test::WaitFor([&] { return done.load(); });
    worker.join();  // (after the deadline: the worker got in once the handler returned)
    return 0;
  }, waiterRef);
  queue.AddRequest(Mem("first"));
  EXPECT_TRUE(waiter.workerFinished);
  // The running drain reached the worker's request.
  EXPECT_EQ(waiter.handled, (std::vector<std::string>{"first", "from worker"}));
  EXPECT_EQ(queue.GetCount(), 0);
  queue.itemEvent.Disconnect();
  waiterRef->Detach();
}

TEST_F(WorkQueueTest, AQueueGoneBeforeThePumpDropsItsHandedOverDrain) {
  auto* doomed = new rg_TavelkinDuiLieLei;
  doomed->itemEvent.Connect(&OnItem, handlerRef);
  std::thread([doomed] { doomed->AddRequest(Mem("late")); }).join();
  delete doomed;
  qzu_test::PumpFor(20);
  EXPECT_TRUE(handler.handled.empty());
}

}  // namespace
