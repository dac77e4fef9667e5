#include "framework/message_pump.h"

#include <QCoreApplication>

#include "platform/ticks.h"

void QtPumpPendingMessages() {
  if (!QCoreApplication::instance()) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void WaitWhileWindowExists(const CQzuWinControl& control) {
  // Hold the window holder itself: the control object may go away inside
  // the pump, and then the window goes with it.
  CQzuRef<CMfcWndObject> window = CQzuRef<CMfcWndObject>::Share(control.GetWindowObject());
  while (window->HasWindow() && window->Owner()) {
    QtPumpPendingMessages();
    SleepMilliseconds(1);
  }
}
