#include "framework/window_message.h"

QEvent::Type QzuMessageEvent::EventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}
