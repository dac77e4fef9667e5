#pragma once
// Shared pieces of the framework's widget tests: a receiver that records what
// reached it, and pumping for a while (qt_pump.h).
#include <QCoreApplication>
#include <QElapsedTimer>

#include <string>
#include <vector>

#include "common/event.h"
#include "framework/message_pump.h"
#include "platform/ticks.h"
#include "qt_pump.h"

namespace qzu_test {

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

}  // namespace qzu_test
