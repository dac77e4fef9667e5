#pragma once
// The end of the desktop session or of the process, as the program hears of
// it: the X session manager's commit-data request at log-off or shutdown
// (QGuiApplication::commitDataRequest), and the signals a session manager,
// systemd or a terminal sends (SIGTERM, SIGHUP, SIGINT). Each becomes one
// call on the UI thread that closes the program's windows as the user would
// close them, so every form's close query runs: it keeps what must be kept
// (a main window saves its settings) and may refuse, as a form busy with a
// batch does until the batch has stopped and it closes itself. When the last
// window has closed, Qt ends the application's loop.
//
// At the session manager's request a refused close cancels the log-off when
// the manager lets the program speak to the user. A signal is never refused
// as such: the windows that refused stay until they close themselves.
#include "framework/signal_pipe.h"

#include <QMetaObject>

// Closes every visible window of the program: modal ones first (a message
// box or a dialog ends as Esc ends it, so the code waiting for it goes on),
// then the others. Stops at the first window that refuses; true when every
// one closed. UI thread only.
bool CloseAllWindowsForSessionEnd();

// While it lives, the session end reaches CloseAllWindowsForSessionEnd. Make
// it on the UI thread once the Qt application object exists; one at a time.
class CQzuSessionEnd {
 public:
  CQzuSessionEnd();
  ~CQzuSessionEnd();
  CQzuSessionEnd(const CQzuSessionEnd&) = delete;
  CQzuSessionEnd& operator=(const CQzuSessionEnd&) = delete;

  // Whether the signals are watched (false when another pipe watches them).
  bool WatchesSignals() const { return m_signals.IsWatching(); }

 private:
  CQzuSignalPipe m_signals;
  QMetaObject::Connection m_commitData;
};
