#include "services/mouse_enter_leave_watcher.h"

#include "platform/hooks.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinYiRuYiChuShiJianLei, CQzuObject,
                    "rg_Tavelkin_MingLingJi::rg_TavelkinYiRuYiChuShiJianLei")

namespace {

constexpr int kPollMilliseconds = 50;

intptr_t OnPollClockTick(CQzuObject* receiver, CQzuObject* sender, intptr_t) {
  return static_cast<rg_TavelkinYiRuYiChuShiJianLei*>(receiver)->OnLeavePollTick(sender);
}

}  // namespace

rg_TavelkinYiRuYiChuShiJianLei::rg_TavelkinYiRuYiChuShiJianLei() { ConnectPollClock(); }

rg_TavelkinYiRuYiChuShiJianLei::rg_TavelkinYiRuYiChuShiJianLei(const rg_TavelkinYiRuYiChuShiJianLei& other)
    : CQzuObject() {
  ConnectPollClock();
  CopyFrom(other);
}

rg_TavelkinYiRuYiChuShiJianLei& rg_TavelkinYiRuYiChuShiJianLei::operator=(
    const rg_TavelkinYiRuYiChuShiJianLei& other) {
  CopyFrom(other);
  return *this;
}

rg_TavelkinYiRuYiChuShiJianLei::~rg_TavelkinYiRuYiChuShiJianLei() {
  // No tick may reach this watcher from here on; the clock member then kills
  // its timer as it goes.
  m_receiver->Detach();
  pollClock.SetClockPeriod(0);
}

void rg_TavelkinYiRuYiChuShiJianLei::ConnectPollClock() {
  m_receiver = CQzuReceiverRef::Make(this);
  pollClock.clockEvent.Connect(&OnPollClockTick, m_receiver);
}

bool rg_TavelkinYiRuYiChuShiJianLei::IsEqual(const CQzuObject& other) const {
  if (!SameHeader(other)) return false;
  const auto& o = static_cast<const rg_TavelkinYiRuYiChuShiJianLei&>(other);
  return moveX == o.moveX && moveY == o.moveY && cursorX == o.cursorX && cursorY == o.cursorY &&
         pollClock.IsEqual(o.pollClock) && trackedControl == o.trackedControl && eventValue == o.eventValue &&
         extraHeight == o.extraHeight && extraWidth == o.extraWidth && controlLeft == o.controlLeft &&
         controlTop == o.controlTop;
}

int rg_TavelkinYiRuYiChuShiJianLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinYiRuYiChuShiJianLei, source)
  moveX = src.moveX;
  moveY = src.moveY;
  cursorX = src.cursorX;
  cursorY = src.cursorY;
  pollClock.CopyFrom(src.pollClock);
  trackedControl = src.trackedControl;
  eventValue = src.eventValue;
  extraHeight = src.extraHeight;
  extraWidth = src.extraWidth;
  controlLeft = src.controlLeft;
  controlTop = src.controlTop;
  return 1;
}

// The tracked control is a pointer into this run's windows and has no stream
// form; the values around it keep their order.
void rg_TavelkinYiRuYiChuShiJianLei::SaveToStream(CQzuStream& stream) const {
  stream.WriteInt32(moveX);
  stream.WriteInt32(moveY);
  stream.WriteInt32(cursorX);
  stream.WriteInt32(cursorY);
  pollClock.SaveToStream(stream);
  stream.WriteInt32(eventValue);
  stream.WriteInt32(extraHeight);
  stream.WriteInt32(extraWidth);
  stream.WriteInt32(controlLeft);
  stream.WriteInt32(controlTop);
}

void rg_TavelkinYiRuYiChuShiJianLei::LoadFromStream(CQzuStream& stream) {
  int32_t v[4];
  for (int32_t& x : v)
    if (!stream.ReadInt32(x)) return;
  moveX = v[0];
  moveY = v[1];
  cursorX = v[2];
  cursorY = v[3];
  pollClock.LoadFromStream(stream);
  int32_t w[5];
  for (int32_t& x : w)
    if (!stream.ReadInt32(x)) return;
  eventValue = w[0];
  extraHeight = w[1];
  extraWidth = w[2];
  controlLeft = w[3];
  controlTop = w[4];
}

void rg_TavelkinYiRuYiChuShiJianLei::ControlOrigin(CQzuWinControl* control, int32_t& left, int32_t& top) {
  if (!control || !control->HasWindow()) {
    left = top = 0;
    return;
  }
  left = control->GetLeft();
  top = control->GetTop();
}

int rg_TavelkinYiRuYiChuShiJianLei::IsPointOutsideControl(int x, int y, CQzuWinControl* control) const {
  int left = 0, top = 0, right = 0, bottom = 0;
  if (control) control->GetWindowRect(left, top, right, bottom);
  const int width = right - left;
  const int height = bottom - top;
  if (x < 0 || x > width - 1 + extraWidth || y < 0 || y > height - 1 + extraHeight) return 1;
  return 0;
}

void rg_TavelkinYiRuYiChuShiJianLei::RememberMove(CQzuWinControl* control, int x, int y) {
  ControlOrigin(control, controlLeft, controlTop);
  moveX = x;
  moveY = y;
  int cx = 0, cy = 0;
  PlatformHooks().CursorPosition(cx, cy);
  cursorX = cx;
  cursorY = cy;
}

int rg_TavelkinYiRuYiChuShiJianLei::OnTrackedMouseMove(CQzuWinControl* control, int x, int y, intptr_t) {
  if (pollClock.GetPeriod() != 0 && control == trackedControl) {
    int32_t left = 0, top = 0;
    ControlOrigin(control, left, top);
    // The control moved since: its client position and the cursor form a
    // new origin for the polls.
    if (left != controlLeft || top != controlTop) RememberMove(control, x, y);
    return 0;
  }
  if (IsPointOutsideControl(x, y, control) == 1) return 0;
  if (pollClock.GetPeriod() != 0) pollClock.SetClockPeriod(0);
  if (CQzuWinControl* old = trackedControl) {
    trackedControl = nullptr;
    moveOutEvent.Raise(this, old, old, eventValue);
  }
  trackedControl = control;
  RememberMove(control, x, y);
  eventValue = 0;
  pollClock.SetClockPeriod(kPollMilliseconds);
  moveInEvent.Raise(this, control, control, eventValue);
  return 1;
}

int rg_TavelkinYiRuYiChuShiJianLei::OnLeavePollTick(CQzuObject* sender) {
  if (sender != &pollClock) return 0;
  if (!trackedControl) {
    // A copy may carry a running period without a control: nothing to watch.
    pollClock.SetClockPeriod(0);
    return 0;
  }
  int cx = 0, cy = 0;
  PlatformHooks().CursorPosition(cx, cy);
  // The cursor's screen movement since the remembered move, applied to the
  // remembered client position.
  const int x = moveX + cx - cursorX;
  const int y = moveY + cy - cursorY;
  if (IsPointOutsideControl(x, y, trackedControl) == 0) return 0;
  pollClock.SetClockPeriod(0);
  CQzuWinControl* old = trackedControl;
  trackedControl = nullptr;
  moveOutEvent.Raise(this, old, old, eventValue);
  return 0;
}

}  // namespace rg_Tavelkin_MingLingJi
