#include "framework/timer_control.h"

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(rg_timer, CQzuWinControl, "rg_Ombrine_MFCJieMian_base::rg_timer")

rg_timer::rg_timer() { m_visible = 0; }

int rg_timer::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_timer, source)
  CopyWinControl(src);
  m_interval = src.m_interval;
  m_timerId = src.m_timerId;
  return 1;
}

void rg_timer::SaveToStream(CQzuStream& s) const {
  CQzuWinControl::SaveToStream(s);
  s.WriteInt32(m_interval);
  s.WriteInt32(m_timerId);
}

void rg_timer::LoadFromStream(CQzuStream& s) {
  CQzuWinControl::LoadFromStream(s);
  int32_t interval, id;
  if (!s.ReadInt32(interval) || !s.ReadInt32(id)) return;
  m_timerId = id;
  SetInterval(interval);
}

QWidget* rg_timer::CreateNativeWidget(const CQzuCreateParams&, QWidget* parent) {
  auto* w = new QWidget(parent);
  auto* timer = new QTimer(w);
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, w, [this, w] {
    // Ticks only reach the control that still owns this window. The control
    // can be gone while its window lives on (a copy or a parent keeps it), so
    // the window's holder is asked before the control is touched.
    CMfcWndObject* holder = CMfcWndObject::FromObject(w);
    if (!holder || holder->Owner() != this || holder->Widget() != w) return;
    if (m_interval > 0) Raise(OnTick);
  });
  m_timer = timer;
  return w;
}

void rg_timer::AfterCreate(const CQzuCreateParams& params) {
  CQzuWinControl::AfterCreate(params);
  m_visible = 0;  // a timer never shows
  GetWidget()->hide();
  ApplyInterval();
}

void rg_timer::SetInterval(int milliseconds) {
  m_interval = milliseconds < 0 ? 0 : milliseconds;
  ApplyInterval();
}

void rg_timer::SetSuspended(bool suspended) {
  if (suspended == m_suspended) return;
  m_suspended = suspended;
  ApplyInterval();
}

void rg_timer::ApplyInterval() {
  if (!m_timer || !HasWindow()) return;
  if (m_interval > 0 && !m_suspended) m_timer->start(m_interval);
  else m_timer->stop();
}

}  // namespace rg_Ombrine_MFCJieMian_base
