#pragma once
// rg_TavelkinShiZhongLei: a periodic clock that needs no window. It runs one
// window-less timer of the framework and raises its clock event on every tick,
// on the UI thread. All clocks share one map from timer id to clock, which the
// one timer procedure consults; a lock guards the map.
//
// A clock kills and unmaps its timer before it is destroyed, so a tick never
// reaches a clock that is gone. Copies carry the timer id and period as
// values but own no timer: only the clock the map names for an id kills it.
#include <cstdint>

#include "common/event.h"
#include "common/object.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinShiZhongLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinShiZhongLei)
 public:
  // handler(receiver, clock, user data); its result is ignored.
  using ClockEvent = CQzuEventSlot<>;

  // Seeds the standard generator with the tick count.
  rg_TavelkinShiZhongLei();
  rg_TavelkinShiZhongLei(const rg_TavelkinShiZhongLei& other);
  rg_TavelkinShiZhongLei& operator=(const rg_TavelkinShiZhongLei& other);
  // Stops the timer this clock runs.
  ~rg_TavelkinShiZhongLei() override;

  // Class, header, timer id, period and spare text.
  bool IsEqual(const CQzuObject& other) const override;
  // Copies timer id, period and spare text; the clock event stays as it is.
  // A timer this clock was running goes on ticking for its old owner
  // (nobody), so it is stopped first.
  int CopyFrom(const CQzuObject& source) override;
  // Values of a new clock; a running timer is stopped first (it could not be
  // reached any more), the clock event stays connected.
  void Reset() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Starts (period >= 1), restarts (another period) or stops (period < 1)
  // the clock; the same period again keeps the running timer. UI thread.
  void SetClockPeriod(int period);

  int32_t GetTimerId() const { return m_timerId; }
  int32_t GetPeriod() const { return m_period; }
  // Whether the timer map names this clock for its timer id.
  bool IsMapped() const;

  // The one timer procedure of every clock; returns 0.
  static int ClockTimerProc(void* window, unsigned message, uintptr_t timerId, uint32_t time);

  // Carried in copies and the stream form; nothing reads it.
  CWString spareText;
  ClockEvent clockEvent;

 private:
  // Kills and unmaps the timer when the map names this clock for it; forgets
  // the id in every case.
  void StopTimer();

  int32_t m_timerId = 0;
  int32_t m_period = 0;
};

// How many timer ids the shared map holds (tests).
int ClockTimerMapSize();

}  // namespace rg_Tavelkin_MingLingJi
