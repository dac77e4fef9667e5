#include "components/scroll_bar.h"

#include <algorithm>
#include <cstring>

#include "common/dpi.h"
#include "components/owner_drawn_surfaces.h"
#include "components/scroll_bar_geometry.h"
#include "framework/ui_thread.h"
#include "platform/hooks.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

using rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi;

QZU_IMPLEMENT_CLASS(rg_TavelkinGunDongTiao1, rg_ZuJianBuJuQi,
                    "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinGunDongTiao1")

namespace {

constexpr COLORREF kBackground = 0xECECEC;
constexpr COLORREF kPartFill = 0xEEF5FF;
constexpr COLORREF kPartPen = 0xB99D7F;
constexpr COLORREF kHotPen = 0x8050FF;
constexpr int kPressWatchId = 1000;
constexpr int kPressWatchMs = 30;
constexpr int kLeftButton = 0x01;
const char16_t kToolTip[] = u"单击空白处可以定位该位置，右击方框可以定位到开头或末尾";

using Guard = rg_Ombrine_base::rg_HuChiSuoLei::Guard;

rg_TavelkinGunDongTiao1* Self(CQzuObject* receiver) { return static_cast<rg_TavelkinGunDongTiao1*>(receiver); }

// A redraw request: int32 hot part, int32 pressed flag, little-endian.
CQzuMem RedrawRequest(int32_t hotPart, int32_t pressed) {
  uint8_t bytes[8];
  for (int i = 0; i < 4; ++i) {
    bytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(hotPart) >> (8 * i));
    bytes[4 + i] = static_cast<uint8_t>(static_cast<uint32_t>(pressed) >> (8 * i));
  }
  return CQzuMem(bytes, sizeof bytes);
}

int32_t RequestField(const CQzuMem& request, int index) {
  if (request.GetSize() < static_cast<size_t>(4 * index + 4)) return 0;
  const uint8_t* b = request.GetData() + 4 * index;
  return static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
}

intptr_t DrawRequested(CQzuObject* r, CQzuObject*, intptr_t, const CQzuMem& request) {
  Self(r)->RedrawScrollBar(RequestField(request, 0), RequestField(request, 1), kScrollBarDrawNow);
  return 0;
}

intptr_t Resized(CQzuObject* r, CQzuObject*, intptr_t, int, int) { return Self(r)->OnScrollBarResize(); }
intptr_t LeftDown(CQzuObject* r, CQzuObject*, intptr_t, int x, int y, int flags) {
  return Self(r)->PressScrollBar(x, y, flags);
}
intptr_t LeftUp(CQzuObject* r, CQzuObject*, intptr_t, int x, int y, int flags) {
  return Self(r)->ForwardScrollBarRelease(x, y, flags);
}
intptr_t RightDown(CQzuObject* r, CQzuObject*, intptr_t, int x, int y, int) {
  return Self(r)->OnScrollBarRightDown(x, y);
}
intptr_t RightUp(CQzuObject* r, CQzuObject*, intptr_t, int, int, int) { return Self(r)->OnScrollBarRightUp(); }
intptr_t Wheel(CQzuObject* r, CQzuObject*, intptr_t, int delta, int, int, int) {
  return Self(r)->OnScrollBarWheel(delta / 120);
}
intptr_t Tick(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->OnScrollBarTimer(); }

}  // namespace

rg_TavelkinGunDongTiao1::rg_TavelkinGunDongTiao1() : m_receiver(CQzuReceiverRef::Make(this)) {
  m_canvas.SetVisible(false);
  redrawQueue.itemEvent.Connect(&DrawRequested, m_receiver);
  MeasureScrollBar();
}

rg_TavelkinGunDongTiao1::~rg_TavelkinGunDongTiao1() {
  // First of all: no handler may run into a half-destroyed bar.
  m_receiver->Detach();
  OnDragEnded.Disconnect();
  OnReleased.Disconnect();
  OnPressed.Disconnect();
  redrawQueue.itemEvent.Disconnect();
  OnPositionChanged.Disconnect();
}

bool rg_TavelkinGunDongTiao1::IsEqual(const CQzuObject& other) const { return SameHeader(other) && &other == this; }

int rg_TavelkinGunDongTiao1::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinGunDongTiao1, source)
  CopyWinControl(src);
  m_canvas.CopyFrom(src.m_canvas);
  m_timer.CopyFrom(src.m_timer);
  m_display.CopyFrom(src.m_display);
  arrowStep = src.arrowStep;
  dragging = src.dragging;
  drawingEnabled = src.drawingEnabled;
  orientation = src.orientation;
  positionCount = src.positionCount;
  position = src.position;
  lastReportedPosition = src.lastReportedPosition;
  dragTarget = src.dragTarget;
  stepPixels = src.stepPixels;
  held = src.held;
  pressCoordinate = src.pressCoordinate;
  pressPosition = src.pressPosition;
  thumbLength = src.thumbLength;
  thumbOffset = src.thumbOffset;
  hotPart = src.hotPart;
  thickness = src.thickness;
  length = src.length;
  lastCursorCoordinate = src.lastCursorCoordinate;
  positionLock = src.positionLock;
  lineSize = src.lineSize;
  contentSize = src.contentSize;
  redrawQueue.CopyFrom(src.redrawQueue);
  return 1;
}

void rg_TavelkinGunDongTiao1::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  s.WriteText(m_text);
  s.WriteInt32(arrowStep);
  m_canvas.SaveToStream(s);
  for (int32_t v : {orientation, positionCount, position, lastReportedPosition, dragTarget}) s.WriteInt32(v);
  m_timer.SaveToStream(s);
  m_display.SaveToStream(s);
  int64_t stepBits;
  std::memcpy(&stepBits, &stepPixels, sizeof stepBits);
  s.WriteInt64(stepBits);
  for (int32_t v : {held, pressCoordinate, pressPosition, thumbLength, thumbOffset, hotPart, thickness, length,
                    lastCursorCoordinate, dragging})
    s.WriteInt32(v);
  // The position lock's stream form is empty.
  s.WriteInt32(lineSize);
  s.WriteInt32(contentSize);
  // Items and busy flag; the queue lock's form is empty.
  redrawQueue.SaveToStream(s);
  s.WriteInt32(drawingEnabled);
}

void rg_TavelkinGunDongTiao1::LoadFromStream(CQzuStream& s) {
  if (!s.Ok()) return;
  CWString text;
  if (!s.ReadText(text)) return;
  m_text = text;
  s.ReadInt32(arrowStep);
  m_canvas.LoadFromStream(s);
  for (int32_t* v : {&orientation, &positionCount, &position, &lastReportedPosition, &dragTarget}) s.ReadInt32(*v);
  m_timer.LoadFromStream(s);
  m_display.LoadFromStream(s);
  int64_t stepBits = 0;
  if (s.ReadInt64(stepBits)) std::memcpy(&stepPixels, &stepBits, sizeof stepBits);
  for (int32_t* v : {&held, &pressCoordinate, &pressPosition, &thumbLength, &thumbOffset, &hotPart, &thickness,
                     &length, &lastCursorCoordinate, &dragging})
    s.ReadInt32(*v);
  s.ReadInt32(lineSize);
  s.ReadInt32(contentSize);
  redrawQueue.LoadFromStream(s);
  s.ReadInt32(drawingEnabled);
}

int rg_TavelkinGunDongTiao1::DefaultWidth() const { return ScaleByDpiFactor(500); }
int rg_TavelkinGunDongTiao1::DefaultHeight() const { return ScaleByDpiFactor(350); }

void rg_TavelkinGunDongTiao1::CreateChildren() {
  auto S = [](int v) { return ScaleByDpiFactor(v); };
  const int margin = ScaleForDpi(3);
  SetToolTipStyle(0x008000, margin);
  OnSize.Connect(&Resized, m_receiver);
  AttachListener();

  for (rg_Ombrine_MFCJieMian_base::rg_painter* p : {&m_canvas, &m_display}) {
    p->OnLeftDown.Connect(&LeftDown, m_receiver);
    p->OnRightDown.Connect(&RightDown, m_receiver);
    p->OnRightUp.Connect(&RightUp, m_receiver);
    p->OnWheel.Connect(&Wheel, m_receiver);
    p->OnLeftUp.Connect(&LeftUp, m_receiver);
    p->SetBuffered(true);
    p->SetToolTip(kToolTip);
    p->SetToolTipStyle(0x008000, margin);
  }
  m_canvas.SetVisible(false);
  m_canvas.Create(this, S(104), S(144), S(120), S(100), 101);
  m_timer.OnTick.Connect(&Tick, m_receiver);
  m_timer.Create(this, S(288), S(136), S(26), S(26), 102);
  m_display.SetVisible(true);
  m_display.Create(this, S(4), S(4), S(120), S(100), 103);
}

// ---- position and count ----

void rg_TavelkinGunDongTiao1::StorePosition(int32_t value) {
  Guard guard(positionLock);
  position = value;
}

void rg_TavelkinGunDongTiao1::MovePosition(int32_t delta) {
  Guard guard(positionLock);
  position += delta;
}

void rg_TavelkinGunDongTiao1::SetScrollBarPosition(int32_t value) {
  StorePosition(value);
  RedrawScrollBar(kScrollBarNoPart, 0, kScrollBarQueued);
}

void rg_TavelkinGunDongTiao1::SetScrollBarCount(int32_t count) {
  if (count == positionCount) return;
  positionCount = count;
  RedrawScrollBar(kScrollBarNoPart, 0, kScrollBarQueued);
}

int32_t rg_TavelkinGunDongTiao1::GetScrollBarPosition() {
  Guard guard(positionLock);
  return position;
}

// ---- measuring and drawing ----

void rg_TavelkinGunDongTiao1::MeasureScrollBar() {
  int left, top, right, bottom;
  if (!m_canvas.GetWindowRect(left, top, right, bottom)) {
    length = thickness = 0;
    return;
  }
  const int width = right - left, height = bottom - top;
  length = orientation ? height : width;
  thickness = orientation ? width : height;
}

void rg_TavelkinGunDongTiao1::RedrawScrollBar(int32_t part, int32_t pressed, int32_t drawNow) {
  if (!drawingEnabled) return;
  if (drawNow && IsUiThread()) DrawScrollBar(part, pressed);
  else redrawQueue.AddRequest(RedrawRequest(part, pressed));
}

void rg_TavelkinGunDongTiao1::DrawScrollBarPart(CQzuDC& dc, int x, int y, int w, int h, int inset, bool rounded) {
  const QzuRect r = ScrollBarPartRect(x, y, w, h, inset);
  if (rounded) dc.RoundRect(r, 5, 5);
  else dc.Rectangle(r);
}

void rg_TavelkinGunDongTiao1::DrawScrollBarGrip(CQzuDC& dc, int c, int offset) {
  if (orientation) {
    dc.MoveTo(0, c + offset);
    dc.LineTo(thickness, c + offset);
  } else {
    dc.MoveTo(c + offset, 0);
    dc.LineTo(c + offset, thickness);
  }
}

void rg_TavelkinGunDongTiao1::DrawScrollBar(int32_t part, int32_t pressed) {
  ++m_paintCount;
  CQzuDC& dc = m_canvas.GetDC();
  const int t = thickness, l = length;
  // Along the bar: x for a horizontal bar, y for a vertical one.
  auto box = [&](int along, int size, int inset, bool rounded) {
    if (orientation) DrawScrollBarPart(dc, 0, along, t, size, inset, rounded);
    else DrawScrollBarPart(dc, along, 0, size, t, inset, rounded);
  };
  dc.Clear(kBackground);
  dc.SetBrush(kPartFill);
  for (int i : {kScrollBarStartBox, kScrollBarEndBox}) {
    const int along = i == kScrollBarStartBox ? 0 : l - t;
    dc.SetPen(part == i ? kHotPen : kPartPen);
    box(along, t, 0, false);
    for (int inset : ScrollBarBoxInsets(t, part == i && pressed)) box(along, t, inset, false);
  }

  const ScrollBarThumbSize thumb =
      MeasureScrollBarThumb(l, t, positionCount, contentSize, lineSize, GetDpiFactor());
  thumbLength = thumb.length;
  stepPixels = thumb.step;
  int32_t shown;
  {
    Guard guard(positionLock);
    position = ClampScrollBarPosition(position, positionCount);
    shown = position;
  }
  dc.SetPen(part == kScrollBarThumb ? kHotPen : kPartPen);
  thumbOffset = ScrollBarThumbOffset(t, shown, stepPixels);
  box(thumbOffset, thumbLength, 0, true);
  for (int c : ScrollBarGripLines(thumbOffset, thumbLength)) DrawScrollBarGrip(dc, c, 0);

  m_display.CopyCanvasFrom(m_canvas);
  if (shown != lastReportedPosition) {
    lastReportedPosition = shown;
    Raise(OnPositionChanged, shown);
  }
}

// ---- mouse and timer ----

int rg_TavelkinGunDongTiao1::OnScrollBarResize() {
  if (!StretchSurfacesOverClient(*this, m_canvas, m_display)) return 0;
  MeasureScrollBar();
  RedrawScrollBar(kScrollBarNoPart, 0, kScrollBarQueued);
  return 0;
}

int rg_TavelkinGunDongTiao1::CursorCoordinate() const {
  int x = 0, y = 0;
  PlatformHooks().CursorPosition(x, y);
  return orientation ? y : x;
}

int rg_TavelkinGunDongTiao1::PressScrollBar(int x, int y, int keyFlags) {
  const int c = orientation ? y : x;
  const ScrollBarHit hit = HitTestScrollBar(c, thickness, length, thumbOffset, thumbLength);
  bool tracking = true;
  switch (hit) {
    case ScrollBarHit::kStartBox:
      hotPart = kScrollBarStartBox;
      MovePosition(-arrowStep);
      RedrawScrollBar(kScrollBarStartBox, 1, kScrollBarQueued);
      break;
    case ScrollBarHit::kEndBox:
      hotPart = kScrollBarEndBox;
      MovePosition(arrowStep);
      RedrawScrollBar(kScrollBarEndBox, 1, kScrollBarQueued);
      break;
    case ScrollBarHit::kTrackBeforeThumb:
    case ScrollBarHit::kTrackAfterThumb:
      hotPart = kScrollBarNoPart;
      StorePosition(ScrollBarTrackPressPosition(hit, c, thickness, thumbLength, stepPixels));
      RedrawScrollBar(kScrollBarNoPart, 0, kScrollBarQueued);
      tracking = false;
      break;
    case ScrollBarHit::kThumb:
      hotPart = kScrollBarThumb;
      dragging = 1;
      break;
  }
  if (tracking) {
    pressCoordinate = CursorCoordinate();
    pressPosition = GetScrollBarPosition();
    held = 1;
    m_timer.KillTimer();
    m_timer.SetTimer(kPressWatchId, kPressWatchMs);
  }
  FireScrollBarPressed(x, y, keyFlags);
  return 0;
}

intptr_t rg_TavelkinGunDongTiao1::FireScrollBarPressed(int x, int y, int keyFlags) {
  return Raise(OnPressed, x, y, keyFlags);
}

int rg_TavelkinGunDongTiao1::OnScrollBarTimer() {
  // Two reads; the second decides (the first may still tell of a press
  // made since the last read).
  GetAsyncKeyState(kLeftButton);
  const bool down = (GetAsyncKeyState(kLeftButton) & 0x8000) != 0;
  if (!down) {
    m_timer.KillTimer();
    held = 0;
    if (dragging) {
      dragging = 0;
      Raise(OnDragEnded);
    }
    hotPart = kScrollBarNoPart;
    RedrawScrollBar(kScrollBarNoPart, 0, kScrollBarQueued);
    return 0;
  }
  // An end box held down keeps its look and repeats nothing.
  if (!held || hotPart != kScrollBarThumb) return 0;
  lastCursorCoordinate = CursorCoordinate();
  const int delta = lastCursorCoordinate - pressCoordinate;
  const long long n = ScrollBarPositionsIn(delta < 0 ? -delta : delta, stepPixels);
  const long long target = delta > 0 ? pressPosition + n : pressPosition - n;
  dragTarget = ClampScrollBarPosition(static_cast<int>(std::clamp(target, -(1LL << 30), 1LL << 30)), positionCount);
  if (dragTarget != GetScrollBarPosition()) {
    StorePosition(dragTarget);
    RedrawScrollBar(kScrollBarThumb, 1, kScrollBarQueued);
  }
  return 0;
}

int rg_TavelkinGunDongTiao1::OnScrollBarRightDown(int x, int y) {
  const int c = orientation ? y : x;
  if (c < thickness) {
    hotPart = kScrollBarStartBox;
    StorePosition(1);
  } else if (c > length - thickness) {
    hotPart = kScrollBarEndBox;
    StorePosition(positionCount);
  }
  RedrawScrollBar(hotPart, 1, kScrollBarQueued);
  return 0;
}

int rg_TavelkinGunDongTiao1::OnScrollBarRightUp() {
  hotPart = kScrollBarNoPart;
  RedrawScrollBar(kScrollBarNoPart, 0, kScrollBarQueued);
  return 0;
}

int rg_TavelkinGunDongTiao1::OnScrollBarWheel(int steps) {
  MovePosition(-steps);
  RedrawScrollBar(kScrollBarNoPart, 0, kScrollBarQueued);
  return 0;
}

int rg_TavelkinGunDongTiao1::ForwardScrollBarRelease(int x, int y, int keyFlags) {
  Raise(OnReleased, x, y, keyFlags);
  return 0;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
