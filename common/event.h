#pragma once
// Events. A control raises an event by calling the handler of one of its
// event slots as handler(receiver, sender, user data, arguments). The
// receiver is reached through a reference-counted CQzuEventObjectPointer:
// once the receiver detaches it (first thing in its destructor), no new call
// gets through, and the detach waits for the calls running on other threads.
//
// The pointer's lock is held only to admit a call and to count it out, never
// while the handler runs: a handler that starts long work (an index pass on a
// pool worker) does not hold up the receiver's other events, and handlers of
// one receiver may run on several threads at once. Handlers that share data
// across threads lock for themselves.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "common/object.h"
#include "common/ref_object.h"

class CQzuEventObjectPointer : public CQzuRefObject {
 public:
  explicit CQzuEventObjectPointer(CQzuObject* receiver) : m_receiver(receiver) {}

  // Blocks new calls and waits until the calls in progress on other threads
  // have returned. Calls of the detaching thread itself (a handler that
  // destroys its own receiver) are not waited for.
  void Detach();
  bool IsDetached();

  // Runs `call(receiver)` unless detached; returns its result, else 0.
  template <class F>
  intptr_t Invoke(F&& call) {
    CQzuObject* target = Enter();
    if (!target) return 0;
    struct Leaving {
      CQzuEventObjectPointer* self;
      ~Leaving() { self->Leave(); }
    } leaving{this};
    return call(target);
  }

 private:
  // Counts a call of this thread in; null when detached.
  CQzuObject* Enter();
  void Leave();
  bool OnlyThisThreadInside(std::thread::id self) const;

  std::mutex m_lock;
  std::condition_variable m_left;
  CQzuObject* m_receiver;
  // One entry per call in progress, by the thread that makes it (nested
  // calls of one thread make several entries).
  std::vector<std::thread::id> m_callers;
};

using CQzuReceiverRef = CQzuRef<CQzuEventObjectPointer>;

template <class... Args>
class CQzuEventSlot {
 public:
  using Handler = intptr_t (*)(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, Args... args);

  void Connect(Handler handler, const CQzuReceiverRef& receiver, intptr_t userData = 0) {
    m_handler = handler;
    m_receiver = receiver;
    m_userData = userData;
  }
  void Disconnect() {
    m_handler = nullptr;
    m_receiver.Reset();
    m_userData = 0;
  }
  bool IsConnected() const { return m_handler && m_receiver; }
  intptr_t UserData() const { return m_userData; }

  // The handler's result; 0 when nothing is connected or the receiver left.
  intptr_t Raise(CQzuObject* sender, Args... args) const {
    if (!m_handler || !m_receiver) return 0;
    // Hold a reference for the call: the slot may be disconnected inside it.
    CQzuReceiverRef receiver = m_receiver;
    Handler handler = m_handler;
    const intptr_t userData = m_userData;
    return receiver->Invoke(
        [&](CQzuObject* target) { return handler(target, sender, userData, args...); });
  }

 private:
  Handler m_handler = nullptr;
  CQzuReceiverRef m_receiver;
  intptr_t m_userData = 0;
};
