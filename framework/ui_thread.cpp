#include "framework/ui_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <deque>
#include <mutex>
#include <utility>

bool IsUiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return !app || QThread::currentThread() == app->thread();
}

namespace {

// The calls handed over wait here, in order; each queued call on the
// application object runs the oldest. The calls travel through this lock
// rather than inside Qt's event, so that everything the handing thread wrote
// before is seen by the UI thread (and by ThreadSanitizer, which cannot look
// into Qt's own locks).
std::mutex g_handedOverLock;
std::deque<std::function<void()>> g_handedOver;

void RunOldestHandedOver() {
  std::function<void()> call;
  {
    std::lock_guard<std::mutex> guard(g_handedOverLock);
    if (g_handedOver.empty()) return;
    call = std::move(g_handedOver.front());
    g_handedOver.pop_front();
  }
  call();
}

}  // namespace

void PostToUiThread(std::function<void()> call) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) {
    call();
    return;
  }
  // One queued call per call handed over joins the UI thread's posted
  // events, so each keeps its place among posted window messages.
  std::lock_guard<std::mutex> guard(g_handedOverLock);
  g_handedOver.push_back(std::move(call));
  QMetaObject::invokeMethod(app, &RunOldestHandedOver, Qt::QueuedConnection);
}

void RunOnUiThread(std::function<void()> call) {
  if (IsUiThread()) call();
  else PostToUiThread(std::move(call));
}

namespace {

std::function<void()> Guarded(const CQzuReceiverRef& receiver, std::function<void(CQzuObject*)> call) {
  // The reference keeps the pointer object alive until the call has run,
  // whatever became of the receiver.
  return [receiver, call = std::move(call)] {
    receiver->Invoke([&](CQzuObject* target) -> intptr_t {
      call(target);
      return 0;
    });
  };
}

}  // namespace

void PostToUiThread(const CQzuReceiverRef& receiver, std::function<void(CQzuObject*)> call) {
  if (!receiver) return;
  PostToUiThread(Guarded(receiver, std::move(call)));
}

void RunOnUiThread(const CQzuReceiverRef& receiver, std::function<void(CQzuObject*)> call) {
  if (!receiver) return;
  RunOnUiThread(Guarded(receiver, std::move(call)));
}
