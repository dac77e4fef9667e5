#pragma once
// Events. A control raises an event by calling the handler of one of its
// event slots as handler(receiver, sender, user data, arguments...). The
// receiver is reached through a reference-counted CQzuEventObjectPointer:
// once the receiver detaches it (first thing in its destructor), no new call
// gets through, and the detach waits for a call running on another thread.
#include <cstdint>
#include <mutex>

#include "common/object.h"
#include "common/ref_object.h"

class CQzuEventObjectPointer : public CQzuRefObject {
 public:
  explicit CQzuEventObjectPointer(CQzuObject* receiver) : m_receiver(receiver) {}

  // Blocks new calls and waits until a call in progress on another thread has
  // returned. The thread inside a handler may detach from within it.
  void Detach();
  bool IsDetached();

  // Runs `call(receiver)` unless detached; returns its result, else 0.
  template <class F>
  intptr_t Invoke(F&& call) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (!m_receiver) return 0;
    return call(m_receiver);
  }

 private:
  std::recursive_mutex m_lock;
  CQzuObject* m_receiver;
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
