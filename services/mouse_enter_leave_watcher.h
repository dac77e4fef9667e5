#pragma once
// rg_TavelkinYiRuYiChuShiJianLei: tells when the mouse comes over a control
// and when it has left it, without capturing the mouse. Controls report their
// mouse moves; the first move inside a control raises the move-in event and
// starts a 50 ms poll of the cursor, which raises the move-out event as soon
// as the cursor is outside that control. A move into another control while
// one is tracked raises move-out for the old control before move-in for the
// new one.
//
// The cursor comes from the platform hooks' CursorPosition, so tests can move
// it. UI thread only. A tracked control must outlive its tracking (the
// watcher keeps a plain pointer to it).
#include <cstdint>

#include "common/event.h"
#include "common/object.h"
#include "framework/win_control.h"
#include "services/clock.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinYiRuYiChuShiJianLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinYiRuYiChuShiJianLei)
 public:
  // handler(receiver, watcher, user data, control, the same control, event
  // value); its result is ignored.
  using MoveEvent = CQzuEventSlot<CQzuWinControl*, CQzuWinControl*, int>;

  rg_TavelkinYiRuYiChuShiJianLei();
  rg_TavelkinYiRuYiChuShiJianLei(const rg_TavelkinYiRuYiChuShiJianLei& other);
  rg_TavelkinYiRuYiChuShiJianLei& operator=(const rg_TavelkinYiRuYiChuShiJianLei& other);
  // Stops taking ticks before the poll clock goes.
  ~rg_TavelkinYiRuYiChuShiJianLei() override;

  // Every member, the poll clock through its own IsEqual.
  bool IsEqual(const CQzuObject& other) const override;
  // Copies every member, the poll clock member by member; the events stay.
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // A mouse move over `control` at (x, y) in its client coordinates; the
  // fourth argument is not used. 1 when this move made the control the
  // tracked one, else 0.
  int OnTrackedMouseMove(CQzuWinControl* control, int x, int y, intptr_t unused = 0);
  // The poll clock's tick; does nothing unless `sender` is that clock.
  int OnLeavePollTick(CQzuObject* sender);
  // 1 when (x, y) lies outside the control's window rectangle grown by the
  // extra width and height (the right and bottom edges are outside), else 0.
  int IsPointOutsideControl(int x, int y, CQzuWinControl* control) const;

  CQzuWinControl* GetTrackedControl() const { return trackedControl; }
  const rg_TavelkinShiZhongLei& GetPollClock() const { return pollClock; }

  // Client position of the move that started or refreshed the tracking.
  int32_t moveX = 0, moveY = 0;
  // Screen cursor position taken at that move.
  int32_t cursorX = 0, cursorY = 0;
  rg_TavelkinShiZhongLei pollClock;
  CQzuWinControl* trackedControl = nullptr;
  // Third argument of both events; 0 after every move-in.
  int32_t eventValue = 0;
  // Grow the control in the inside test; only the owner changes them.
  int32_t extraHeight = 0;
  int32_t extraWidth = 0;
  // Where the tracked control sat in its parent at that move.
  int32_t controlLeft = 0, controlTop = 0;

  MoveEvent moveOutEvent;
  MoveEvent moveInEvent;

 private:
  void ConnectPollClock();
  // The control's position in its parent (the screen for top-level
  // windows); 0, 0 without a window.
  static void ControlOrigin(CQzuWinControl* control, int32_t& left, int32_t& top);
  void RememberMove(CQzuWinControl* control, int x, int y);

  CQzuReceiverRef m_receiver;
};

}  // namespace rg_Tavelkin_MingLingJi
