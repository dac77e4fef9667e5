#pragma once
// Pumping the UI thread in widget tests: for a while, or until a condition
// holds (polling with a deadline instead of asserting on a sleep).
#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <thread>

namespace qzu_test {

inline void PumpFor(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// Pumps until `done()` holds or `ms` pass; returns done().
template <class F>
bool PumpUntil(F done, int ms = 2000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}

}  // namespace qzu_test
