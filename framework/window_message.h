#pragma once
// A window message (number, wParam, lParam) travelling through Qt's event
// queue, so that posted messages are handled in order by the next pump.
#include <QEvent>

#include <cstdint>

class QzuMessageEvent : public QEvent {
 public:
  static QEvent::Type EventType();
  QzuMessageEvent(int message, intptr_t wParam, intptr_t lParam)
      : QEvent(EventType()), message(message), wParam(wParam), lParam(lParam) {}
  const int message;
  const intptr_t wParam;
  const intptr_t lParam;
};
