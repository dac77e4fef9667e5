#pragma once
// rg_TavelkinGunDongTiao1: the owner-drawn scroll bar, horizontal or
// vertical: a square end box at each end, a track between them and a rounded
// thumb with grip lines. Its position runs from 1 to the position count and
// is clamped into that range at every draw; the geometry is in
// components/scroll_bar_geometry.h. The drop-down list and the tree box embed
// it.
//
// It paints on a hidden canvas painter and copies the picture onto the
// visible display painter, which takes the mouse. A left press on an end box
// moves one arrow step (once: holding the box repeats nothing), on the track
// jumps to the position under the pointer, on the thumb starts a drag that a
// 30 ms press watch (timer id 1000) follows until the button is up. A right
// press on an end box goes to that end; the wheel moves toward 1 when turned
// away from the user.
//
// Threads: redraws may be asked for on any thread. A request goes into the
// redraw queue (a work queue: equal pending requests are drawn once) and the
// queue is drained on the UI thread, at once when the request came from it,
// else at the UI thread's next pump; so a burst of requests from a worker
// gives one paint, and the events are raised on the UI thread. Writes of the
// position take the position lock, which copies share. Everything else is
// the UI thread's.
//
// Events, handler(receiver, scroll bar, user data, arguments):
//   position changed (new position): after a draw whose clamped position
//     differs from the last one reported (the first draw always reports);
//   pressed (x, y, key flags): at the end of every left-press handling;
//   released (x, y, key flags): left-button release on either painter;
//   drag ended (): the press watch found the button up after a thumb drag.
#include <cstdint>

#include "common/critical_section.h"
#include "common/event.h"
#include "framework/painter.h"
#include "framework/timer_control.h"
#include "framework/win_container.h"
#include "services/work_queue.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

// Hot parts.
inline constexpr int32_t kScrollBarNoPart = 0;
inline constexpr int32_t kScrollBarStartBox = 1;
inline constexpr int32_t kScrollBarEndBox = 2;
inline constexpr int32_t kScrollBarThumb = 3;
// The third argument of RedrawScrollBar.
inline constexpr int32_t kScrollBarQueued = 0;
inline constexpr int32_t kScrollBarDrawNow = 1;

class rg_TavelkinGunDongTiao1 : public rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi {
  QZU_DECLARE_CLASS(rg_TavelkinGunDongTiao1)

 public:
  rg_TavelkinGunDongTiao1();
  // Refuses new event calls and waits for running ones before anything goes.
  ~rg_TavelkinGunDongTiao1() override;

  // Equal only to itself (the children are compared by identity).
  bool IsEqual(const CQzuObject& other) const override;
  // Shares the children's windows and both locks; copies the plain members
  // and the pending redraw requests; not the event slots.
  int CopyFrom(const CQzuObject& source) override;
  // The base's text member, then the members in the order of the class.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;
  // 500 x 350 logical pixels.
  int DefaultWidth() const override;
  int DefaultHeight() const override;

  // Stores the position under the position lock, then asks for a redraw.
  void SetScrollBarPosition(int32_t position);
  // Stores a changed count and asks for a redraw.
  void SetScrollBarCount(int32_t count);
  int32_t GetScrollBarPosition();

  // Length and thickness from the canvas window (0 without one).
  void MeasureScrollBar();
  // Nothing while drawing is disabled. Queued: the request goes into the
  // redraw queue (see Threads). Draw now: paints at once on the UI thread;
  // asked for on another thread it is queued instead.
  void RedrawScrollBar(int32_t hotPart, int32_t pressed, int32_t drawNow);

  // The handlers of the children's events; each returns 0.
  int OnScrollBarResize();
  int PressScrollBar(int x, int y, int keyFlags);
  int OnScrollBarTimer();
  int OnScrollBarRightDown(int x, int y);
  int OnScrollBarRightUp();
  int OnScrollBarWheel(int steps);
  int ForwardScrollBarRelease(int x, int y, int keyFlags);
  intptr_t FireScrollBarPressed(int x, int y, int keyFlags);

  rg_Ombrine_MFCJieMian_base::rg_painter& Canvas() { return m_canvas; }
  rg_Ombrine_MFCJieMian_base::rg_painter& Display() { return m_display; }
  rg_Ombrine_MFCJieMian_base::rg_timer& PressTimer() { return m_timer; }
  // How many times the bar has been painted.
  int GetPaintCount() const { return m_paintCount; }

  CQzuEventSlot<int32_t> OnPositionChanged;
  CQzuEventSlot<int, int, int> OnPressed;
  CQzuEventSlot<int, int, int> OnReleased;
  CQzuEventSlot<> OnDragEnded;

  // Plain members, read and set by owners (SaveToStream has the stream's
  // order).
  int32_t arrowStep = 1;
  int32_t dragging = 0;
  int32_t drawingEnabled = 1;
  int32_t orientation = 0;  // 0 horizontal, else vertical
  int32_t positionCount = 100;
  int32_t position = 1;
  int32_t lastReportedPosition = 0;
  int32_t dragTarget = 0;
  double stepPixels = 0.0;
  int32_t held = 0;
  int32_t pressCoordinate = 0;
  int32_t pressPosition = 0;
  int32_t thumbLength = 0;
  int32_t thumbOffset = 0;
  int32_t hotPart = 0;
  int32_t thickness = 0;
  int32_t length = 0;
  int32_t lastCursorCoordinate = 0;
  rg_Ombrine_base::rg_HuChiSuoLei positionLock;
  // Logical pixels per position for the thumb when the content size is not
  // above the count; the content size is the number of items behind the bar.
  int32_t lineSize = 5;
  int32_t contentSize = 0;
  // Pending {hot part, pressed} requests (8 bytes each), the busy flag and
  // the queue lock, shared by copies.
  rg_Tavelkin_MingLingJi::rg_TavelkinDuiLieLei redrawQueue;

 protected:
  void CreateChildren() override;

 private:
  void DrawScrollBar(int32_t hotPart, int32_t pressed);
  void DrawScrollBarPart(CQzuDC& dc, int x, int y, int w, int h, int inset, bool rounded);
  void DrawScrollBarGrip(CQzuDC& dc, int c, int offset);
  // The cursor's screen coordinate along the bar.
  int CursorCoordinate() const;
  // Under the position lock.
  void StorePosition(int32_t value);
  void MovePosition(int32_t delta);

  CQzuReceiverRef m_receiver;
  rg_Ombrine_MFCJieMian_base::rg_painter m_canvas;
  rg_Ombrine_MFCJieMian_base::rg_timer m_timer;
  rg_Ombrine_MFCJieMian_base::rg_painter m_display;
  int m_paintCount = 0;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
