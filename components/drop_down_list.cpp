// The drop-down list's object operations, children and event handlers; its
// items are in drop_down_list_items.cpp, opening and hover in
// drop_down_list_opening.cpp, painting in drop_down_list_drawing.cpp.
#include "components/drop_down_list.h"

#include "common/dpi.h"
#include "components/owner_drawn_button.h"
#include "components/owner_drawn_surfaces.h"
#include "framework/win_defs.h"
#include "platform/hooks.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

using rg_Ombrine_MFCJieMian_base::rg_painter;

QZU_IMPLEMENT_CLASS(rg_TavelkinZuGeKuang1, rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi,
                    "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinZuGeKuang1")

namespace {

rg_TavelkinZuGeKuang1* Self(CQzuObject* receiver) { return static_cast<rg_TavelkinZuGeKuang1*>(receiver); }

constexpr COLORREF kToolTipColour = 0x008000;
constexpr int kToolTipMargin = 3;  // logical pixels
constexpr int kScrollBarWidth = 16;  // logical pixels
const char16_t kEditFieldTip[] = u"右击弹出手柄或图标可以粘贴到内容";

}  // namespace

rg_TavelkinZuGeKuang1::rg_TavelkinZuGeKuang1() : m_receiver(CQzuReceiverRef::Make(this)) {
  m_placeholder.SetNull(true);
  watcher.moveOutEvent.Connect(&OnDropDownLeave, m_receiver);
  redrawQueue.itemEvent.Connect(&OnDropDownQueueItem, m_receiver);
  // The canvas measures text before it has a window (AddDropDownHandleIcon).
  m_canvas.SetFontText(kDropDownDefaultFont);
}

rg_TavelkinZuGeKuang1::~rg_TavelkinZuGeKuang1() {
  m_receiver->Detach();
  m_timer.KillTimer();
}

// ---- object operations ----

bool rg_TavelkinZuGeKuang1::IsEqual(const CQzuObject& other) const { return SameHeader(other) && &other == this; }

int rg_TavelkinZuGeKuang1::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinZuGeKuang1, source)
  CopyWinControl(src);
  title = src.title;
  titleWidth = src.titleWidth;
  colourMode = src.colourMode;
  customColour = src.customColour;
  m_edit.CopyFrom(src.m_edit);
  m_scrollBar.CopyFrom(src.m_scrollBar);
  m_canvas.CopyFrom(src.m_canvas);
  m_display.CopyFrom(src.m_display);
  m_timer.CopyFrom(src.m_timer);
  items = src.items;
  pictures.CopyFrom(src.pictures);
  fieldHeight = src.fieldHeight;
  lineHeight = src.lineHeight;
  drawingEnabled = src.drawingEnabled;
  ready = src.ready;
  font.CopyFrom(src.font);
  urlOption = src.urlOption;
  tipText = src.tipText;
  numbering = src.numbering;
  emptyIconZero = src.emptyIconZero;
  handleIconHeight = src.handleIconHeight;
  handleIconWidth = src.handleIconWidth;
  previousIndex = src.previousIndex;
  parameterSeparator = src.parameterSeparator;
  currentIndex = src.currentIndex;
  requestedIndex = src.requestedIndex;
  open = src.open;
  rowGap = src.rowGap;
  borderColour = src.borderColour;
  hoverBorderColour = src.hoverBorderColour;
  fieldBackground = src.fieldBackground;
  hover = src.hover;
  handleHover = src.handleHover;
  watcher.CopyFrom(src.watcher);
  drawX = src.drawX;
  drawY = src.drawY;
  previousOpen = src.previousOpen;
  firstVisibleRow = src.firstVisibleRow;
  opensUpward = src.opensUpward;
  listHeight = src.listHeight;
  redrawQueue.CopyFrom(src.redrawQueue);
  titleColour = src.titleColour;
  moving = src.moving;
  previousHotRow = src.previousHotRow;
  hotRow = src.hotRow;
  savedRectangle = src.savedRectangle;
  style = src.style;
  greyedText = src.greyedText;
  locateOnOpen = src.locateOnOpen;
  buttonHeld = src.buttonHeld;
  listPressed = src.listPressed;
  listFocused = src.listFocused;
  parentWindow = src.parentWindow;
  hostWindow = src.hostWindow;
  return 1;
}

void rg_TavelkinZuGeKuang1::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  s.WriteText(m_text);
  s.WriteText(title);
  s.WriteInt32(titleWidth);
  s.WriteInt32(colourMode);
  s.WriteUInt32(customColour);
  m_edit.SaveToStream(s);
  m_scrollBar.SaveToStream(s);
  m_canvas.SaveToStream(s);
  m_display.SaveToStream(s);
  m_timer.SaveToStream(s);
  items.SaveToStream(s);
  pictures.SaveToStream(s);
  for (int32_t v : {fieldHeight, lineHeight, drawingEnabled, ready}) s.WriteInt32(v);
  font.SaveToStream(s);
  s.WriteInt32(0);  // spare
  s.WriteInt32(urlOption);
  s.WriteText(tipText);
  for (int32_t v : {numbering, emptyIconZero, handleIconHeight, handleIconWidth, previousIndex}) s.WriteInt32(v);
  s.WriteText(parameterSeparator);
  for (int32_t v : {currentIndex, requestedIndex, open, rowGap}) s.WriteInt32(v);
  for (COLORREF c : {borderColour, hoverBorderColour, fieldBackground}) s.WriteUInt32(c);
  s.WriteInt32(hover);
  s.WriteInt32(handleHover);
  watcher.SaveToStream(s);
  for (int32_t v : {drawX, drawY, previousOpen, firstVisibleRow}) s.WriteInt32(v);
  CMStringArray().SaveToStream(s);  // a text array nothing fills
  s.WriteInt32(opensUpward);
  s.WriteInt32(listHeight);
  redrawQueue.SaveToStream(s);
  s.WriteUInt32(titleColour);
  for (int32_t v : {moving, previousHotRow, hotRow, savedRectangle.left, savedRectangle.top, savedRectangle.right,
                    savedRectangle.bottom, style, greyedText, locateOnOpen, buttonHeld, listPressed, listFocused})
    s.WriteInt32(v);
  s.WriteInt32(0);  // parent window
  s.WriteInt32(0);  // host window
}

void rg_TavelkinZuGeKuang1::LoadFromStream(CQzuStream& s) {
  // A short read sets the stream's error; every later read then does nothing.
  CWString text;
  if (!s.ReadText(text)) return;
  m_text = text;
  s.ReadText(title);
  s.ReadInt32(titleWidth);
  s.ReadInt32(colourMode);
  s.ReadUInt32(customColour);
  m_edit.LoadFromStream(s);
  m_scrollBar.LoadFromStream(s);
  m_canvas.LoadFromStream(s);
  m_display.LoadFromStream(s);
  m_timer.LoadFromStream(s);
  items.LoadFromStream(s);
  pictures.LoadFromStream(s);
  for (int32_t* v : {&fieldHeight, &lineHeight, &drawingEnabled, &ready}) s.ReadInt32(*v);
  font.LoadFromStream(s);
  int32_t unused = 0;
  s.ReadInt32(unused);
  s.ReadInt32(urlOption);
  s.ReadText(tipText);
  for (int32_t* v : {&numbering, &emptyIconZero, &handleIconHeight, &handleIconWidth, &previousIndex})
    s.ReadInt32(*v);
  s.ReadText(parameterSeparator);
  for (int32_t* v : {&currentIndex, &requestedIndex, &open, &rowGap}) s.ReadInt32(*v);
  for (COLORREF* c : {&borderColour, &hoverBorderColour, &fieldBackground}) s.ReadUInt32(*c);
  s.ReadInt32(hover);
  s.ReadInt32(handleHover);
  watcher.LoadFromStream(s);
  for (int32_t* v : {&drawX, &drawY, &previousOpen, &firstVisibleRow}) s.ReadInt32(*v);
  CMStringArray nothing;
  nothing.LoadFromStream(s);
  s.ReadInt32(opensUpward);
  s.ReadInt32(listHeight);
  redrawQueue.LoadFromStream(s);
  s.ReadUInt32(titleColour);
  for (int32_t* v : {&moving, &previousHotRow, &hotRow, &savedRectangle.left, &savedRectangle.top,
                     &savedRectangle.right, &savedRectangle.bottom, &style, &greyedText, &locateOnOpen, &buttonHeld,
                     &listPressed, &listFocused})
    s.ReadInt32(*v);
  s.ReadInt32(unused);
  s.ReadInt32(unused);
}

int rg_TavelkinZuGeKuang1::DefaultWidth() const { return ScaleByDpiFactor(636); }
int rg_TavelkinZuGeKuang1::DefaultHeight() const { return ScaleByDpiFactor(223); }

// ---- children ----

void rg_TavelkinZuGeKuang1::ConnectPainter(rg_painter& painter) {
  painter.OnMouseMove.Connect(&OnDropDownMouseMove, m_receiver);
  painter.OnLeftDown.Connect(&OnDropDownListPress, m_receiver);
  painter.OnLeftUp.Connect(&OnDropDownListRelease, m_receiver);
  painter.OnRightUp.Connect(&OnDropDownRightUp, m_receiver);
  painter.OnFocusGot.Connect(&OnDropDownListFocused, m_receiver);
  painter.OnFocusLost.Connect(&OnDropDownListUnfocused, m_receiver);
  painter.SetBuffered(true);
  painter.SetFontText(kDropDownDefaultFont);
}

void rg_TavelkinZuGeKuang1::CreateChildren() {
  auto S = [](int v) { return ScaleByDpiFactor(v); };
  // The tip belongs to this list: its colour and margin go with the display,
  // which carries it, and leave other tips alone.
  const int tipMargin = ScaleForDpi(kToolTipMargin);
  SetToolTipStyle(kToolTipColour, tipMargin);
  m_display.SetToolTipStyle(kToolTipColour, tipMargin);
  m_edit.SetToolTipStyle(kToolTipColour, tipMargin);

  OnCreated.Connect(&OnDropDownCreated, m_receiver);
  OnShown.Connect(&OnDropDownShown, m_receiver);
  OnSize.Connect(&OnDropDownSize, m_receiver);
  OnMessage.Connect(&OnDropDownMessage, m_receiver);

  m_edit.OnLeftDown.Connect(&OnDropDownFieldPress, m_receiver);
  m_edit.OnLeftUp.Connect(&OnDropDownFieldRelease, m_receiver);
  m_edit.OnTextChanged.Connect(&OnDropDownFieldTextChanged, m_receiver);
  m_edit.OnKeyDown.Connect(&OnDropDownFieldKeyDown, m_receiver);
  m_edit.OnKeyUp.Connect(&OnDropDownFieldKeyUp, m_receiver);
  m_edit.SetFontText(kDropDownDefaultFont);
  m_edit.SetToolTip(kEditFieldTip);
  m_edit.RemoveStyle(qzu_win::kWsBorder);
  m_edit.SetExStyle(m_edit.GetExStyle() & ~(qzu_win::kWsExClientEdge | qzu_win::kWsExStaticEdge |
                                            qzu_win::kWsExDlgModalFrame));
  m_edit.SetVisible(false);
  m_edit.Create(this, S(480), S(115), S(102), S(26), kDropDownEditId);

  // Its own size event stays its own: the bar stretches its painters there.
  m_scrollBar.orientation = 1;
  m_scrollBar.OnPositionChanged.Connect(&OnDropDownScroll, m_receiver);
  m_scrollBar.OnPressed.Connect(&OnDropDownScrollBarHeld, m_receiver);
  m_scrollBar.OnReleased.Connect(&OnDropDownScrollBarReleased, m_receiver);
  m_scrollBar.SetFontText(kDropDownDefaultFont);
  m_scrollBar.SetVisible(false);
  m_scrollBar.Create(this, 0, 0, ScaleForDpi(kScrollBarWidth), S(100), kDropDownScrollBarId);

  ConnectPainter(m_canvas);
  m_canvas.SetVisible(false);
  m_canvas.Create(this, 0, 0, S(636), S(26), kDropDownCanvasId);
  ConnectPainter(m_display);
  m_display.Create(this, 0, 0, S(636), S(26), kDropDownDisplayId, CWString(), qzu_win::kWsTabStop);

  m_timer.OnTick.Connect(&OnDropDownWatchTimer, m_receiver);
  m_timer.Create(this, 0, 0, S(26), S(26), kDropDownTimerId);
}

// ---- handlers of the list itself ----

intptr_t rg_TavelkinZuGeKuang1::OnDropDownCreated(CQzuObject* receiver, CQzuObject*, intptr_t) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  d->font.ParseFontText(kDropDownDefaultFont);
  QWidget* parent = d->GetWidget()->parentWidget();
  d->parentWindow = parent;
  QWidget* top = parent;
  while (top && top->parentWidget()) top = top->parentWidget();
  d->hostWindow = top != parent ? top : nullptr;
  if (d->colourMode > 0) d->SetDropDownTipText(CWString());
  return 0;
}

int rg_TavelkinZuGeKuang1::MeasureLineHeight() {
  // A device of its own, without an image, measures as the canvas's would:
  // text extents depend on the font alone. Every drawing of text sets the
  // row font on the canvas first, so the canvas's font need not change here.
  CQzuDC measuring;
  measuring.SetFontText(RowFontText(false));
  return measuring.GetTextExtent(kLineHeightSample).height();
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownShown(CQzuObject* receiver, CQzuObject*, intptr_t) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (!d->ready) {
    d->lineHeight = d->MeasureLineHeight();
    d->ready = 1;
  }
  d->RedrawDropDownList(kDropDownQueued);
  return 0;
}

void rg_TavelkinZuGeKuang1::OnDropDownResize() {
  if (!StretchSurfacesOverClient(*this, m_canvas, m_display)) return;
  if (!open) fieldHeight = m_canvas.GetClientHeight();
  if (moving) {
    moving = 0;
    return;
  }
  RedrawDropDownList(kDropDownQueued);
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownSize(CQzuObject* receiver, CQzuObject*, intptr_t, int, int) {
  Self(receiver)->OnDropDownResize();
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownQueueItem(CQzuObject* receiver, CQzuObject*, intptr_t, const CQzuMem&) {
  Self(receiver)->RedrawDropDownList(kDropDownPaintNow);
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownMessage(CQzuObject* receiver, CQzuObject*, intptr_t, int message,
                                                  intptr_t wParam, intptr_t lParam) {
  if (message != qzu_win::kWmMouseWheel) return 0;
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  const int delta = static_cast<int16_t>((static_cast<uint32_t>(wParam) >> 16) & 0xFFFF);
  const int step = delta > 0 ? 1 : -1;
  if (d->m_scrollBar.IsVisible()) {
    // A turn over the bar itself has moved it already (Qt hands the wheel
    // to the widget under the pointer first).
    const int x = static_cast<int16_t>(lParam & 0xFFFF);
    const int y = static_cast<int16_t>((static_cast<uint32_t>(lParam) >> 16) & 0xFFFF);
    int left, top, right, bottom;
    if (d->m_scrollBar.GetWindowRect(left, top, right, bottom) && x >= left && x < right && y >= top && y < bottom)
      return 0;
    {
      rg_Ombrine_base::rg_HuChiSuoLei::Guard guard(d->m_scrollBar.positionLock);
      d->m_scrollBar.position -= step;
    }
    d->m_scrollBar.RedrawScrollBar(kScrollBarNoPart, 0, kScrollBarQueued);
    return 0;
  }
  if (!d->hover) return 0;
  const int count = d->items.GetCount();
  int i = d->GetDropDownIndex() - step;
  if (i < 0) i = count - 1;
  if (i > count - 1) i = 0;
  if (i >= 0 && i < count) {
    d->SelectDropDownItem(i);
    d->RaiseDropDownItemChosen();
  }
  return 0;
}

// ---- the edit field and the scroll bar ----

intptr_t rg_TavelkinZuGeKuang1::OnDropDownFieldPress(CQzuObject* receiver, CQzuObject* sender, intptr_t, int, int,
                                                     int) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (sender == &d->m_edit) d->buttonHeld = 1;
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownFieldRelease(CQzuObject* receiver, CQzuObject* sender, intptr_t, int,
                                                       int, int) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (sender == &d->m_edit) d->buttonHeld = 0;
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownFieldTextChanged(CQzuObject* receiver, CQzuObject* sender, intptr_t) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (sender == &d->m_edit && d->style == kDropDownEditable && d->colourMode <= 0) d->Raise(d->TextChangedEvent);
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownFieldKeyDown(CQzuObject* receiver, CQzuObject* sender, intptr_t, int key,
                                                       int keys) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (sender == &d->m_edit) d->Raise(d->FieldKeyDownEvent, key, keys);
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownFieldKeyUp(CQzuObject* receiver, CQzuObject* sender, intptr_t, int key,
                                                     int keys) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (sender == &d->m_edit) d->Raise(d->FieldKeyUpEvent, key, keys);
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownScroll(CQzuObject* receiver, CQzuObject* sender, intptr_t,
                                                 int32_t position) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (sender != &d->m_scrollBar) return 0;
  d->firstVisibleRow = position - 1;
  if (d->m_scrollBar.IsVisible()) d->RedrawDropDownList(kDropDownQueued);
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownScrollBarHeld(CQzuObject* receiver, CQzuObject* sender, intptr_t, int,
                                                        int, int) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (sender == &d->m_scrollBar) d->buttonHeld = 1;
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownScrollBarReleased(CQzuObject* receiver, CQzuObject* sender, intptr_t,
                                                            int, int, int) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (sender == &d->m_scrollBar) d->buttonHeld = 0;
  return 0;
}

// ---- the painters ----

intptr_t rg_TavelkinZuGeKuang1::OnDropDownMouseMove(CQzuObject* receiver, CQzuObject* sender, intptr_t, int x, int y,
                                                    int keys) {
  Self(receiver)->TrackDropDownHover(sender, x, y, keys);
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownListPress(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int,
                                                    int, int) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (!d->IsDisplay(sender) || userData == -1) return 0;
  d->buttonHeld = 1;
  d->listPressed = 1;
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownListRelease(CQzuObject* receiver, CQzuObject* sender, intptr_t, int x, int,
                                                      int) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (!d->IsDisplay(sender)) return 0;
  d->buttonHeld = 0;
  if (!d->listPressed) return 0;
  d->listPressed = 0;
  if (!d->open && x < d->GetDropDownHandleLeft() - ScaleForDpi(d->rowGap) &&
      d->Raise(d->FieldClickEvent) == kKeepDropDownClosed)
    return 0;
  d->ToggleDropDownList();
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownListFocused(CQzuObject* receiver, CQzuObject* sender, intptr_t) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (d->IsDisplay(sender)) d->listFocused = 1;
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownListUnfocused(CQzuObject* receiver, CQzuObject* sender, intptr_t) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (!d->IsDisplay(sender)) return 0;
  d->listFocused = 0;
  d->open = 0;
  d->RedrawDropDownList(kDropDownQueued);
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownRightUp(CQzuObject* receiver, CQzuObject* sender, intptr_t, int, int,
                                                  int) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (d->IsDisplay(sender)) d->OpenDropDownAddress();
  return 0;
}

// ---- leaving and the outside-press watch ----

intptr_t rg_TavelkinZuGeKuang1::OnDropDownLeave(CQzuObject* receiver, CQzuObject* sender, intptr_t, CQzuWinControl*,
                                                CQzuWinControl*, int) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (sender != &d->watcher) return 0;
  d->hover = 0;
  d->handleHover = 0;
  d->previousHotRow = d->hotRow = -1;
  d->RedrawDropDownList(kDropDownQueued);
  if (d->open) d->m_timer.SetTimer(kOutsidePressWatchId, kOutsidePressWatchMilliseconds);
  return 0;
}

intptr_t rg_TavelkinZuGeKuang1::OnDropDownWatchTimer(CQzuObject* receiver, CQzuObject* sender, intptr_t) {
  rg_TavelkinZuGeKuang1* d = Self(receiver);
  if (sender != &d->m_timer) return 0;
  // Two reads; the second tells whether the button is down now.
  GetAsyncKeyState(qzu_win::kVkLButton);
  const bool down = (GetAsyncKeyState(qzu_win::kVkLButton) & 0x8000) != 0;
  if (!down) {
    d->buttonHeld = 0;
    return 0;
  }
  if (d->buttonHeld) return 0;
  d->m_timer.KillTimer();
  if (d->open) d->CloseWithoutChoosing();
  return 0;
}

void rg_TavelkinZuGeKuang1::CloseWithoutChoosing() {
  open = 0;
  if (listFocused) m_display.SetFocus();
  RedrawDropDownList(kDropDownQueued);
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
