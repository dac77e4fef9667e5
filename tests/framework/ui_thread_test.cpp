// Handing work to the UI thread: calls and posted messages from workers run
// on the UI thread, in order, at its next pump; a guarded call whose receiver
// has gone is dropped.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "framework/ui_thread.h"
#include "framework/win_form.h"
#include "framework_test_util.h"

using namespace rg_Ombrine_MFCJieMian_base;
using qzu_test::PumpFor;
using qzu_test::PumpUntil;
using qzu_test::R;
using qzu_test::Recorder;

namespace {

struct Runs {
  std::mutex lock;
  std::vector<int> order;
  std::vector<std::thread::id> threads;
  void Add(int n) {
    std::lock_guard<std::mutex> guard(lock);
    order.push_back(n);
    threads.push_back(std::this_thread::get_id());
  }
  size_t Count() {
    std::lock_guard<std::mutex> guard(lock);
    return order.size();
  }
};

}  // namespace

TEST(UiThread, CallsFromAWorkerRunOnTheUiThreadInOrderAtTheNextPump) {
  EXPECT_TRUE(IsUiThread());
  Runs runs;
  std::atomic<bool> workerIsUi{true};
  std::thread worker([&] {
    workerIsUi = IsUiThread();
    for (int i = 0; i < 5; ++i) RunOnUiThread([&runs, i] { runs.Add(i); });
  });
  worker.join();
  EXPECT_FALSE(workerIsUi.load());
  EXPECT_EQ(runs.Count(), 0u);  // nothing before the pump
  ASSERT_TRUE(PumpUntil([&] { return runs.Count() == 5; }));
  EXPECT_EQ(runs.order, (std::vector<int>{0, 1, 2, 3, 4}));
  for (std::thread::id id : runs.threads) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(UiThread, RunOnTheUiThreadIsAtOncePostIsLater) {
  Runs runs;
  PostToUiThread([&runs] { runs.Add(2); });
  RunOnUiThread([&runs] { runs.Add(1); });
  EXPECT_EQ(runs.order, (std::vector<int>{1}));
  ASSERT_TRUE(PumpUntil([&] { return runs.Count() == 2; }));
  EXPECT_EQ(runs.order, (std::vector<int>{1, 2}));
}

TEST(UiThread, AGuardedCallIsDroppedWhenItsReceiverDetached) {
  auto* alive = new Recorder;
  auto* gone = new Recorder;
  std::thread([&] {
    PostToUiThread(alive->ref, [](CQzuObject* r) { R(r)->Add("ran"); });
    PostToUiThread(gone->ref, [](CQzuObject* r) { R(r)->Add("ran"); });
  }).join();
  delete gone;  // detaches before the pump
  ASSERT_TRUE(PumpUntil([&] { return alive->Count("ran") == 1; }));
  PumpFor(10);
  EXPECT_EQ(alive->Count("ran"), 1);
  delete alive;
}

TEST(UiThread, MessagesPostedFromAWorkerAreHandledOnTheUiThread) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 100, 80), 1);
  Recorder rec;
  static std::thread::id s_handledOn;
  form.OnMessage.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int message, intptr_t w, intptr_t) -> intptr_t {
    s_handledOn = std::this_thread::get_id();
    R(r)->Add("message", {message, w});
    return 0;
  }, rec.ref);
  std::atomic<bool> posted{false};
  std::thread([&] {
    posted = form.PostMessage(0x0400, 1);
    form.PostMessage(0x0400, 2);
  }).join();
  EXPECT_TRUE(posted.load());
  EXPECT_EQ(rec.Count("message"), 0);
  ASSERT_TRUE(PumpUntil([&] { return rec.Count("message") == 2; }));
  EXPECT_EQ(rec.args[0], (std::vector<intptr_t>{0x0400, 1}));
  EXPECT_EQ(rec.args[1], (std::vector<intptr_t>{0x0400, 2}));
  EXPECT_EQ(s_handledOn, std::this_thread::get_id());

  // A window destroyed before the pump drops what was posted to it.
  std::thread([&] { form.PostMessage(0x0400, 3); }).join();
  form.DestroyWindow();
  PumpFor(20);
  EXPECT_EQ(rec.Count("message"), 2);
}
