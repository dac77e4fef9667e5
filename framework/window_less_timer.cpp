#include "framework/window_less_timer.h"

#include <QCoreApplication>
#include <QTimer>

#include <map>

#include "framework/win_defs.h"
#include "platform/ticks.h"

namespace {

std::map<uintptr_t, QTimer*>& Timers() {
  static std::map<uintptr_t, QTimer*> timers;
  return timers;
}

uintptr_t g_nextId = 1;

}  // namespace

uintptr_t SetTimer(void*, uintptr_t id, unsigned milliseconds, QzuTimerProc callback) {
  if (!QCoreApplication::instance() || !callback) return 0;
  auto& timers = Timers();
  auto it = id ? timers.find(id) : timers.end();
  if (it == timers.end()) {
    while (timers.count(g_nextId) || g_nextId == 0) ++g_nextId;
    id = g_nextId++;
  } else {
    it->second->stop();
    it->second->deleteLater();
    timers.erase(it);
  }
  auto* timer = new QTimer(QCoreApplication::instance());
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, timer, [id, callback] { callback(nullptr, qzu_win::kWmTimer, id, GetTickCount()); });
  timers[id] = timer;
  timer->start(static_cast<int>(milliseconds));
  return id;
}

bool KillTimer(void*, uintptr_t id) {
  auto& timers = Timers();
  auto it = timers.find(id);
  if (it == timers.end()) return false;
  it->second->stop();
  // The callback may be the one killing its own timer.
  it->second->deleteLater();
  timers.erase(it);
  return true;
}
