#pragma once
// Shared pieces of the editor tests: a receiver that logs every event it gets
// with its whole-number and text arguments, and platform hooks that keep Qt's
// clipboard but answer a chosen pointer position and record message boxes.
#include <QWidget>

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "common/event.h"
#include "framework/qt_platform_hooks.h"

namespace qzu_test {

struct Event {
  std::string name;
  std::vector<intptr_t> numbers;
  std::vector<CWString> texts;
};

struct EventLog : CQzuObject {
  std::vector<Event> events;
  intptr_t result = 0;  // what every handler returns
  CQzuReceiverRef ref = CQzuReceiverRef::Make(this);
  ~EventLog() override { ref->Detach(); }

  // Events of one name, in order.
  std::vector<Event> Named(const std::string& name) const {
    std::vector<Event> out;
    for (const Event& e : events)
      if (e.name == name) out.push_back(e);
    return out;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const Event& e : events) out.push_back(e.name);
    return out;
  }

  // Connects `slot` so that it logs under `name` (a string literal).
  template <class... A>
  void Listen(CQzuEventSlot<A...>& slot, const char* name) {
    slot.Connect(
        [](CQzuObject* r, CQzuObject*, intptr_t userData, A... args) -> intptr_t {
          auto* log = static_cast<EventLog*>(r);
          Event e{reinterpret_cast<const char*>(userData), {}, {}};
          (Take(e, args), ...);
          log->events.push_back(std::move(e));
          return log->result;
        },
        ref, reinterpret_cast<intptr_t>(name));
  }

 private:
  template <class T>
  static void Take(Event& e, const T& value) {
    if constexpr (std::is_same_v<T, CWString>) e.texts.push_back(value);
    else e.numbers.push_back(static_cast<intptr_t>(value));
  }
};

struct EditorHooks : CQtPlatformHooks {
  int cursorX = 0, cursorY = 0;
  std::vector<CWString> messages;  // text, caption per box
  std::vector<int> styles;
  void CursorPosition(int& x, int& y) override {
    x = cursorX;
    y = cursorY;
  }
  int MessageBox(const CWString& text, const CWString& caption, int style) override {
    messages.push_back(text);
    messages.push_back(caption);
    styles.push_back(style);
    return kIdOk;
  }
};

}  // namespace qzu_test
