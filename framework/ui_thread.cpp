#include "framework/ui_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <utility>

bool IsUiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return !app || QThread::currentThread() == app->thread();
}

void PostToUiThread(std::function<void()> call) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) {
    call();
    return;
  }
  // A queued call on the application object joins the UI thread's posted
  // events, so it keeps its place among posted window messages.
  QMetaObject::invokeMethod(app, [call = std::move(call)] { call(); }, Qt::QueuedConnection);
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
