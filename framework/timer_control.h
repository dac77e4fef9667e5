#pragma once
// rg_timer: a timer child of a control. It ticks on the UI thread while its
// interval is above 0 and its window exists; setting the interval to 0 stops
// it; suspending it holds the ticks without changing the interval. The
// owner tells its timers apart by the id (1000 in the components).
#include <QPointer>
#include <QTimer>

#include "framework/win_control.h"

namespace rg_Ombrine_MFCJieMian_base {

class rg_timer : public CQzuWinControl {
  QZU_DECLARE_CLASS(rg_timer)

 public:
  rg_timer();
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Milliseconds between ticks; 0 stops. Takes effect at creation when the
  // window does not exist yet.
  void SetInterval(int milliseconds);
  int GetInterval() const { return m_interval; }
  // SetTimer style: the id names the timer in the tick (default 1000).
  void SetTimer(int id, int milliseconds) {
    m_timerId = id;
    SetInterval(milliseconds);
  }
  void KillTimer() { SetInterval(0); }
  int GetTimerId() const { return m_timerId; }
  // A suspended timer keeps its interval but does not tick until it is
  // resumed (the owner cannot be seen, say); not streamed or copied.
  void SetSuspended(bool suspended);
  bool IsSuspended() const { return m_suspended; }
  // Whether ticks are coming now: a window, an interval above 0, not suspended.
  bool IsTicking() const { return m_timer && m_timer->isActive(); }

  CQzuEventSlot<> OnTick;

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
  void AfterCreate(const CQzuCreateParams& params) override;
  void ApplyInterval();

  int32_t m_interval = 0;
  int32_t m_timerId = 1000;
  QPointer<QTimer> m_timer;
  bool m_suspended = false;
};

}  // namespace rg_Ombrine_MFCJieMian_base
