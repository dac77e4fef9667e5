#include "services/clock.h"

#include <cstdlib>
#include <ctime>

#include "common/critical_section.h"
#include "framework/window_less_timer.h"
#include "platform/random_seed.h"
#include "platform/ticks.h"
#include "textlib/library_maps.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinShiZhongLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinShiZhongLei")

namespace {

using TimerMap = rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_ZhengShuDaoBianZhengShuHaXiBiao;
using Guard = rg_Ombrine_base::rg_HuChiSuoLei::Guard;

// Timer id -> clock. Plain pointers: the map neither owns nor counts clocks.
TimerMap& ClockTimers() {
  static TimerMap map;
  return map;
}

rg_Ombrine_base::rg_HuChiSuoLei& ClockTimersLock() {
  static rg_Ombrine_base::rg_HuChiSuoLei lock;
  return lock;
}

void OnClockTimer(void* window, unsigned message, uintptr_t id, uint32_t time) {
  rg_TavelkinShiZhongLei::ClockTimerProc(window, message, id, time);
}

}  // namespace

int ClockTimerMapSize() {
  Guard guard(ClockTimersLock());
  return static_cast<int>(ClockTimers().entries.size());
}

rg_TavelkinShiZhongLei::rg_TavelkinShiZhongLei() { ::SeedRandom(GetTickCount()); }

rg_TavelkinShiZhongLei::rg_TavelkinShiZhongLei(const rg_TavelkinShiZhongLei& other)
    : CQzuObject(other), spareText(other.spareText), m_timerId(other.m_timerId), m_period(other.m_period) {
  ::SeedRandom(GetTickCount());
}

rg_TavelkinShiZhongLei& rg_TavelkinShiZhongLei::operator=(const rg_TavelkinShiZhongLei& other) {
  CopyFrom(other);
  return *this;
}

rg_TavelkinShiZhongLei::~rg_TavelkinShiZhongLei() { StopTimer(); }

bool rg_TavelkinShiZhongLei::IsEqual(const CQzuObject& other) const {
  if (!SameHeader(other)) return false;
  const auto& o = static_cast<const rg_TavelkinShiZhongLei&>(other);
  return m_timerId == o.m_timerId && m_period == o.m_period && spareText == o.spareText;
}

int rg_TavelkinShiZhongLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinShiZhongLei, source)
  StopTimer();
  m_timerId = src.m_timerId;
  m_period = src.m_period;
  spareText = src.spareText;
  return 1;
}

void rg_TavelkinShiZhongLei::Reset() {
  StopTimer();
  m_period = 0;
  spareText = CWString();
}

void rg_TavelkinShiZhongLei::SaveToStream(CQzuStream& stream) const {
  stream.WriteInt32(m_timerId);
  stream.WriteInt32(m_period);
  stream.WriteText(spareText);
}

void rg_TavelkinShiZhongLei::LoadFromStream(CQzuStream& stream) {
  int32_t id = 0, period = 0;
  CWString text;
  if (!stream.ReadInt32(id) || !stream.ReadInt32(period) || !stream.ReadText(text)) return;
  // A loaded id names no timer of this clock: the same as a copy's.
  StopTimer();
  m_timerId = id;
  m_period = period;
  spareText = text;
}

bool rg_TavelkinShiZhongLei::IsMapped() const {
  if (m_timerId == 0) return false;
  Guard guard(ClockTimersLock());
  auto it = ClockTimers().entries.find(m_timerId);
  return it != ClockTimers().entries.end() && it->second == reinterpret_cast<intptr_t>(this);
}

void rg_TavelkinShiZhongLei::StopTimer() {
  if (m_timerId == 0) return;
  Guard guard(ClockTimersLock());
  auto& entries = ClockTimers().entries;
  auto it = entries.find(m_timerId);
  // Only the clock the map names owns the timer; a copy carrying the same id
  // must not stop its source's ticks.
  if (it != entries.end() && it->second == reinterpret_cast<intptr_t>(this)) {
    KillTimer(nullptr, static_cast<uintptr_t>(m_timerId));
    entries.erase(it);
  }
  m_timerId = 0;
}

void rg_TavelkinShiZhongLei::SetClockPeriod(int period) {
  if (period == m_period) return;
  StopTimer();
  m_period = period;
  if (period < 1) return;
  EnsureRandomSeeded();
  // Without a window the timer takes an id of its own; the proposal only
  // matters if it names a running timer, which a number this large never does.
  const uintptr_t proposed = static_cast<uintptr_t>(std::time(nullptr)) + static_cast<uintptr_t>(std::rand() % 10001);
  Guard guard(ClockTimersLock());
  m_timerId = static_cast<int32_t>(SetTimer(nullptr, proposed, static_cast<unsigned>(period), &OnClockTimer));
  // A failed start (no application object) leaves id 0 and no entry, so the
  // clock simply never ticks.
  if (m_timerId != 0) ClockTimers().entries[m_timerId] = reinterpret_cast<intptr_t>(this);
}

int rg_TavelkinShiZhongLei::ClockTimerProc(void*, unsigned, uintptr_t timerId, uint32_t) {
  rg_TavelkinShiZhongLei* clock = nullptr;
  {
    Guard guard(ClockTimersLock());
    auto& entries = ClockTimers().entries;
    auto it = entries.find(static_cast<int32_t>(timerId));
    if (it != entries.end()) clock = reinterpret_cast<rg_TavelkinShiZhongLei*>(it->second);
  }
  if (!clock) return 0;
  // Outside the lock: the handler may start or stop clocks.
  clock->clockEvent.Raise(clock);
  return 0;
}

}  // namespace rg_Tavelkin_MingLingJi
