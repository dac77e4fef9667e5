#pragma once
// Shared pieces of the framework's widget tests: a receiver that records what
// reached it, and pumping for a while.
#include <QCoreApplication>
#include <QElapsedTimer>

#include <string>
#include <vector>

#include "common/event.h"
#include "framework/message_pump.h"
#include "platform/ticks.h"

namespace fw_test {

struct Recorder : CQzuObject {
  std::vector<std::string> log;
  std::vector<std::vector<intptr_t>> args;
  intptr_t result = 0;  // what the handlers return
  CQzuReceiverRef ref = CQzuReceiverRef::Make(this);
  ~Recorder() override { ref->Detach(); }

  void Add(const char* what, std::vector<intptr_t> a = {}) {
    log.emplace_back(what);
    args.push_back(std::move(a));
  }
  int Count(const std::string& what) const {
    int n = 0;
    for (const auto& l : log) n += l == what ? 1 : 0;
    return n;
  }
};

inline Recorder* R(CQzuObject* receiver) { return static_cast<Recorder*>(receiver); }

// Pumps the UI thread's events for about `ms` milliseconds.
inline void PumpFor(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QtPumpPendingMessages();
    SleepMilliseconds(1);
  }
}

// Pumps until `done()` holds or `ms` pass; returns done().
template <class F>
bool PumpUntil(F done, int ms = 2000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) {
    QtPumpPendingMessages();
    SleepMilliseconds(1);
  }
  return done();
}

}  // namespace fw_test
