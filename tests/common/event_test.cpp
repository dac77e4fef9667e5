// Event slots and reference-counted receivers, across threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "common/event.h"
#include "test_support.h"

using qzu_test::WaitFor;

namespace {

using namespace std::chrono_literals;

struct Receiver : CQzuObject {
  std::atomic<int> calls{0};
  std::atomic<bool> alive{true};
};

intptr_t CountCall(CQzuObject* receiver, CQzuObject*, intptr_t userData, int delta) {
  auto* r = static_cast<Receiver*>(receiver);
  EXPECT_TRUE(r->alive.load());
  r->calls += delta;
  return userData;
}

// What a receiver's destructor does, on a thread of its own: detach first,
// then the object goes.
std::thread DetachAndDelete(CQzuReceiverRef& pointer, Receiver* r, std::atomic<bool>& detached) {
  return std::thread([&pointer, r, &detached] {
    pointer->Detach();
    detached = true;
    r->alive = false;
    delete r;
  });
}

TEST(Event, HandlerGetsReceiverUserDataAndArguments) {
  Receiver r;
  CQzuReceiverRef pointer = CQzuReceiverRef::Make(&r);
  EXPECT_EQ(pointer->RefCount(), 1);
  CQzuEventSlot<int> slot;
  EXPECT_EQ(slot.Raise(nullptr, 1), 0);  // nothing connected
  slot.Connect(&CountCall, pointer, 42);
  EXPECT_EQ(pointer->RefCount(), 2);
  EXPECT_EQ(slot.Raise(nullptr, 3), 42);
  EXPECT_EQ(r.calls, 3);
  pointer->Detach();
  EXPECT_EQ(slot.Raise(nullptr, 3), 0);  // detached: no call
  EXPECT_EQ(r.calls, 3);
}

// The receiver detaches (as its destructor does first) while a worker thread
// is inside its handler: the detach waits for that call, and no call reaches
// the receiver afterwards.
TEST(Event, DetachWaitsForARunningCallAndBlocksLaterOnes) {
  auto* r = new Receiver;
  CQzuReceiverRef pointer = CQzuReceiverRef::Make(r);
  std::atomic<bool> inside{false};
  std::atomic<bool> release{false};
  static std::atomic<bool>* s_inside;
  static std::atomic<bool>* s_release;
  s_inside = &inside;
  s_release = &release;
  CQzuEventSlot<> slot;
  slot.Connect(
      [](CQzuObject* receiver, CQzuObject*, intptr_t) -> intptr_t {
        *s_inside = true;
        while (!*s_release) std::this_thread::sleep_for(1ms);
        auto* rr = static_cast<Receiver*>(receiver);
        EXPECT_TRUE(rr->alive.load());
        ++rr->calls;
        return 1;
      },
      pointer);

  std::thread worker([&] { slot.Raise(nullptr); });
  ASSERT_TRUE(WaitFor([&] { return inside.load(); }, 10000));

  std::atomic<bool> detached{false};
  std::thread destroyer = DetachAndDelete(pointer, r, detached);  // must wait for the worker's call
  std::this_thread::sleep_for(20ms);
  EXPECT_FALSE(detached.load());  // still waiting for the running call
  release = true;
  worker.join();
  destroyer.join();
  EXPECT_TRUE(detached.load());
  EXPECT_EQ(slot.Raise(nullptr), 0);
}

// A handler that runs long on a worker (an index pass started from an event)
// does not hold up the receiver's other events; the detach still waits for
// it, and for every other thread inside.
TEST(Event, ALongHandlerLeavesTheReceiverFreeForOtherCalls) {
  auto* r = new Receiver;
  CQzuReceiverRef pointer = CQzuReceiverRef::Make(r);
  static std::atomic<bool> s_longInside{false};
  static std::atomic<bool> s_releaseLong{false};
  s_longInside = false;
  s_releaseLong = false;
  CQzuEventSlot<> longWork;
  longWork.Connect(
      [](CQzuObject* receiver, CQzuObject*, intptr_t) -> intptr_t {
        s_longInside = true;
        while (!s_releaseLong) std::this_thread::sleep_for(1ms);
        EXPECT_TRUE(static_cast<Receiver*>(receiver)->alive.load());
        return 0;
      },
      pointer);
  CQzuEventSlot<int> quick;
  quick.Connect(&CountCall, pointer, 5);

  std::thread worker([&] { longWork.Raise(nullptr); });
  ASSERT_TRUE(WaitFor([&] { return s_longInside.load(); }, 10000));

  // Another thread's event gets through while the long handler runs.
  std::atomic<bool> quickDone{false};
  std::thread ui([&] {
    EXPECT_EQ(quick.Raise(nullptr, 1), 5);
    quickDone = true;
  });
  EXPECT_TRUE(WaitFor([&] { return quickDone.load(); }, 10000));
  EXPECT_EQ(r->calls, 1);

  std::atomic<bool> detached{false};
  std::thread destroyer = DetachAndDelete(pointer, r, detached);
  std::this_thread::sleep_for(20ms);
  EXPECT_FALSE(detached.load());  // the long handler is still inside
  s_releaseLong = true;
  worker.join();
  ui.join();
  destroyer.join();
  EXPECT_TRUE(detached.load());
  EXPECT_EQ(quick.Raise(nullptr, 1), 0);
}

// A handler that raises another event of its own receiver re-enters it; a
// detach from inside the inner call does not wait for the outer one.
TEST(Event, NestedCallsOfOneThreadReenterAndMayDetach) {
  Receiver r;
  CQzuReceiverRef pointer = CQzuReceiverRef::Make(&r);
  static CQzuEventSlot<>* s_inner;
  static CQzuEventObjectPointer* s_pointer;
  CQzuEventSlot<> inner, outer;
  s_inner = &inner;
  s_pointer = pointer.Get();
  inner.Connect(
      [](CQzuObject* receiver, CQzuObject*, intptr_t) -> intptr_t {
        ++static_cast<Receiver*>(receiver)->calls;
        s_pointer->Detach();
        return 2;
      },
      pointer);
  outer.Connect([](CQzuObject*, CQzuObject*, intptr_t) -> intptr_t { return 10 + s_inner->Raise(nullptr); },
                pointer);
  EXPECT_EQ(outer.Raise(nullptr), 12);
  EXPECT_EQ(r.calls, 1);
  EXPECT_EQ(outer.Raise(nullptr), 0);
}

TEST(Event, AHandlerMayDetachItsOwnReceiver) {
  Receiver r;
  CQzuReceiverRef pointer = CQzuReceiverRef::Make(&r);
  static CQzuEventObjectPointer* s_pointer;
  s_pointer = pointer.Get();
  CQzuEventSlot<> slot;
  slot.Connect(
      [](CQzuObject*, CQzuObject*, intptr_t) -> intptr_t {
        s_pointer->Detach();  // same thread: must not deadlock
        return 7;
      },
      pointer);
  EXPECT_EQ(slot.Raise(nullptr), 7);
  EXPECT_TRUE(pointer->IsDetached());
}

}  // namespace

#include "common/critical_section.h"

namespace {

TEST(CriticalSection, CopiesShareOneSectionAndTheOwnerMayReenter) {
  rg_Ombrine_base::rg_HuChiSuoLei a;
  rg_Ombrine_base::rg_HuChiSuoLei b = a;
  EXPECT_TRUE(a.SharesWith(b));
  EXPECT_EQ(a.ShareCount(), 2);
  rg_Ombrine_base::rg_HuChiSuoLei::Guard outer(a);
  rg_Ombrine_base::rg_HuChiSuoLei::Guard inner(b);  // same thread, same section
  bool otherThreadGotIt = true;
  std::thread([&] { otherThreadGotIt = b.TryEnter(); if (otherThreadGotIt) b.Leave(); }).join();
  EXPECT_FALSE(otherThreadGotIt);
}

}  // namespace
