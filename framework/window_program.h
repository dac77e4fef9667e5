#pragma once
// The program classes of a windowed program, between the framework's user
// application (CQzuUserApp) and a program's own start-up class:
// rg_ChengXuLei, the program class, and rg_ChuangKouChengXuLei, the window
// program class, whose hooks the application runner calls from the Qt event
// loop while the program runs:
//   - PreTranslateMessage, before a mouse or key event is dispatched: the
//     event as the window system delivers it, to the top-level window
//     (QWindow) it arrived at; 0 swallows it, anything else lets it go on;
//   - OnIdle, each time the loop is about to wait for events, with the number
//     of idle turns in a row that asked for more; non-zero asks for another
//     turn at once, 0 waits for the next idle time;
//   - ExitInstance, once, when the loop has ended (also when the start
//     failed), before the program object is released.
// The defaults let every event go on, ask for no idle time and do nothing at
// exit. Neither class can be created on its own (no create function). UI
// thread only.
#include "framework/user_app.h"

class QEvent;
class QObject;

namespace rg_Ombrine_base {

class rg_ChengXuLei : public CQzuUserApp {
  QZU_DECLARE_CLASS(rg_ChengXuLei)
};

class rg_ChuangKouChengXuLei : public rg_ChengXuLei {
  QZU_DECLARE_CLASS(rg_ChuangKouChengXuLei)
 public:
  virtual int PreTranslateMessage(QObject* window, QEvent* event);
  virtual int OnIdle(int count);
  virtual void ExitInstance();
};

}  // namespace rg_Ombrine_base

// The hooks of the running window program (RunningUserApp) wired into the Qt
// event loop while this object lives: an application-wide event filter for
// the pre-translate hook and the event dispatcher's about-to-wait signal for
// the idle hook. Nothing is called while the running program is no window
// program. Make it on the UI thread once the Qt application object exists.
class CQzuWindowProgramHooks {
 public:
  CQzuWindowProgramHooks();
  ~CQzuWindowProgramHooks();
  CQzuWindowProgramHooks(const CQzuWindowProgramHooks&) = delete;
  CQzuWindowProgramHooks& operator=(const CQzuWindowProgramHooks&) = delete;

 private:
  class Filter;
  Filter* m_filter;
};

// The running program as a window program; null when none runs.
rg_Ombrine_base::rg_ChuangKouChengXuLei* RunningWindowProgram();
