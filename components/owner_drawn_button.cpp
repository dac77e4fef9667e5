// The owner-drawn button's object operations, children and event handlers;
// its drawing is in owner_drawn_button_drawing.cpp.
#include "components/owner_drawn_button.h"

#include "common/dpi.h"
#include "components/enhanced_bitmap.h"
#include "framework/message_pump.h"
#include "platform/hooks.h"
#include "platform/resource_loader.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

using rg_Ombrine_MFCJieMian_base::rg_painter;

QZU_IMPLEMENT_CLASS(rg_TavelkinAnNiu1, rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi,
                    "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinAnNiu1")
QZU_IMPLEMENT_CLASS(rg_TavelkinXuanZhongKuang1, rg_TavelkinAnNiu1,
                    "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinXuanZhongKuang1")

namespace {

rg_TavelkinAnNiu1* Self(CQzuObject* receiver) { return static_cast<rg_TavelkinAnNiu1*>(receiver); }

}  // namespace

rg_TavelkinAnNiu1::rg_TavelkinAnNiu1() : m_receiver(CQzuReceiverRef::Make(this)) {}

rg_TavelkinAnNiu1::~rg_TavelkinAnNiu1() {
  m_destroying = 1;
  m_receiver->Detach();
}

// ---- object operations ----

bool rg_TavelkinAnNiu1::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_TavelkinAnNiu1::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinAnNiu1, source)
  Clear();
  CopyWinControl(src);
  m_canvas.CopyFrom(src.m_canvas);
  m_timer.CopyFrom(src.m_timer);
  m_display.CopyFrom(src.m_display);
  visualState = src.visualState;
  checkMode = src.checkMode;
  toolTipText = src.toolTipText;
  centred = src.centred;
  roundGlyph = src.roundGlyph;
  glyphStyle = src.glyphStyle;
  checked = src.checked;
  reserved = src.reserved;
  hoverBrightness = src.hoverBrightness;
  redrawEnabled = src.redrawEnabled;
  glyphImage.CopyFrom(src.glyphImage);
  glyphWhiteBrush.CopyFrom(src.glyphWhiteBrush);
  glyphRedBrush.CopyFrom(src.glyphRedBrush);
  glyphPen.CopyFrom(src.glyphPen);
  glyphGraphics.Delete();
  glyphCanvasReady = src.glyphCanvasReady;
  // A graphics copies no surface: draw on this object's own copy of the image.
  if (glyphCanvasReady && glyphImage.Handle()) {
    glyphGraphics.FromImage(glyphImage);
    glyphGraphics.SetSmoothingMode(rg_Qurix_gdiplus::kGpSmoothingHighQuality);
  } else {
    glyphCanvasReady = 0;
  }
  imageWidth = src.imageWidth;
  imageHeight = src.imageHeight;
  shown = src.shown;
  pressed = src.pressed;
  focused = src.focused;
  hoverStartX = src.hoverStartX;
  hoverStartY = src.hoverStartY;
  hoverCursorX = src.hoverCursorX;
  hoverCursorY = src.hoverCursorY;
  fontSet = src.fontSet;
  imageFills = src.imageFills;
  gap = src.gap;
  leftMargin = src.leftMargin;
  centreLines = src.centreLines;
  imageDrawMode = src.imageDrawMode;
  parentColour = src.parentColour;
  imageRenderHeight = src.imageRenderHeight;
  imageRenderWidth = src.imageRenderWidth;
  imageBackground = src.imageBackground;
  lineHeight = src.lineHeight;
  for (int i = 0; i < 4; ++i) {
    svgData[i] = src.svgData[i];
    images[i] = src.images[i];
  }
  textColours = src.textColours;
  backColours = src.backColours;
  borderColours = src.borderColours;
  return 1;
}

void rg_TavelkinAnNiu1::Clear() {
  toolTipText.Empty();
  for (int i = 0; i < 4; ++i) {
    svgData[i].Free();
    images[i].Clear();
  }
}

void rg_TavelkinAnNiu1::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  rg_ZuJianBuJuQi::SaveToStream(s);
  m_canvas.SaveToStream(s);
  m_timer.SaveToStream(s);
  m_display.SaveToStream(s);
  for (int32_t v : {visualState, checkMode}) s.WriteInt32(v);
  s.WriteText(toolTipText);
  for (int32_t v : {centred, roundGlyph, glyphStyle, checked, reserved, hoverBrightness, redrawEnabled})
    s.WriteInt32(v);
  glyphGraphics.SaveToStream(s);
  glyphImage.SaveToStream(s);
  glyphWhiteBrush.SaveToStream(s);
  glyphRedBrush.SaveToStream(s);
  glyphPen.SaveToStream(s);
  for (int32_t v : {glyphCanvasReady, imageWidth, imageHeight, shown, pressed, focused, hoverStartX, hoverStartY,
                    hoverCursorX, hoverCursorY, fontSet, imageFills, gap, leftMargin, centreLines, imageDrawMode})
    s.WriteInt32(v);
  s.WriteUInt32(parentColour);
  for (int32_t v : {imageRenderHeight, imageRenderWidth}) s.WriteInt32(v);
  s.WriteUInt32(imageBackground);
  s.WriteInt32(lineHeight);
  for (const CQzuMem& svg : svgData) s.WriteMem(svg);
  for (const auto& image : images) image.SaveToStream(s);
  for (const ButtonColourRow* row : {&textColours, &backColours, &borderColours})
    for (COLORREF c : *row) s.WriteUInt32(c);
}

void rg_TavelkinAnNiu1::LoadFromStream(CQzuStream& s) {
  // A short read sets the stream's error; every later read then does nothing.
  rg_ZuJianBuJuQi::LoadFromStream(s);
  m_canvas.LoadFromStream(s);
  m_timer.LoadFromStream(s);
  m_display.LoadFromStream(s);
  for (int32_t* v : {&visualState, &checkMode}) s.ReadInt32(*v);
  s.ReadText(toolTipText);
  for (int32_t* v : {&centred, &roundGlyph, &glyphStyle, &checked, &reserved, &hoverBrightness, &redrawEnabled})
    s.ReadInt32(*v);
  glyphGraphics.LoadFromStream(s);
  glyphImage.LoadFromStream(s);
  glyphWhiteBrush.LoadFromStream(s);
  glyphRedBrush.LoadFromStream(s);
  glyphPen.LoadFromStream(s);
  int32_t canvasReady = 0;
  s.ReadInt32(canvasReady);  // the canvas itself is not streamed: it is built again when needed
  for (int32_t* v : {&imageWidth, &imageHeight, &shown, &pressed, &focused, &hoverStartX, &hoverStartY,
                     &hoverCursorX, &hoverCursorY, &fontSet, &imageFills, &gap, &leftMargin, &centreLines,
                     &imageDrawMode})
    s.ReadInt32(*v);
  s.ReadUInt32(parentColour);
  for (int32_t* v : {&imageRenderHeight, &imageRenderWidth}) s.ReadInt32(*v);
  s.ReadUInt32(imageBackground);
  s.ReadInt32(lineHeight);
  for (CQzuMem& svg : svgData) s.ReadMem(svg);
  for (auto& image : images) image.LoadFromStream(s);
  for (ButtonColourRow* row : {&textColours, &backColours, &borderColours})
    for (COLORREF& c : *row) s.ReadUInt32(c);
}

int rg_TavelkinAnNiu1::DefaultWidth() const { return ScaleByDpiFactor(500); }
int rg_TavelkinAnNiu1::DefaultHeight() const { return ScaleByDpiFactor(350); }

// ---- children ----

void rg_TavelkinAnNiu1::ConnectSurface(rg_painter& surface) {
  surface.OnDoubleClick.Connect(&OnButtonDoubleClick, m_receiver);
  surface.OnRightDown.Connect(&OnButtonRightDown, m_receiver);
  surface.OnRightUp.Connect(&OnButtonRightUp, m_receiver);
  surface.OnLeftDown.Connect(&OnButtonLeftDown, m_receiver);
  surface.OnLeftUp.Connect(&OnButtonLeftUp, m_receiver);
  surface.OnMouseMove.Connect(&OnButtonMouseMove, m_receiver);
  surface.OnFocusGot.Connect(&OnButtonFocusGained, m_receiver);
  surface.OnFocusLost.Connect(&OnButtonFocusLost, m_receiver);
  surface.OnKeyDown.Connect(&OnButtonKeyDown, m_receiver);
  surface.SetBuffered(true);
}

void rg_TavelkinAnNiu1::CreateChildren() {
  // The tip belongs to this button: its colour and margin go with the
  // display painter, which carries it, and leave other tips alone.
  const int tipMargin = ScaleForDpi(kButtonToolTipMargin);
  SetToolTipStyle(kButtonToolTipColour, tipMargin);
  m_display.SetToolTipStyle(kButtonToolTipColour, tipMargin);

  OnShown.Connect(&OnButtonShown, m_receiver);
  OnHidden.Connect(&OnButtonHidden, m_receiver);
  OnSize.Connect(&OnButtonResize, m_receiver);
  OnCreated.Connect(&OnButtonCreated, m_receiver);

  // The design rectangles matter only until the first size event, which
  // stretches both painters over the client area.
  ConnectSurface(m_canvas);
  m_canvas.SetVisible(false);
  m_canvas.Create(this, ScaleByDpiFactor(26), ScaleByDpiFactor(26), ScaleByDpiFactor(400), ScaleByDpiFactor(224),
                  kButtonCanvasId);
  m_timer.OnTick.Connect(&OnButtonHoverTimer, m_receiver);
  m_timer.Create(this, ScaleByDpiFactor(344), ScaleByDpiFactor(304), ScaleByDpiFactor(26), ScaleByDpiFactor(26),
                 kButtonTimerId);
  ConnectSurface(m_display);
  m_display.Create(this, ScaleByDpiFactor(90), ScaleByDpiFactor(117), ScaleByDpiFactor(400), ScaleByDpiFactor(224),
                   kButtonDisplayId, CWString(), qzu_win::kWsTabStop);
}

// ---- setters ----

CWString rg_TavelkinAnNiu1::GetButtonText() const { return m_canvas.GetTextMember(); }

void rg_TavelkinAnNiu1::SetButtonText(const CWString& caption) {
  m_canvas.SetTextMember(caption);
  RedrawButton();
}

void rg_TavelkinAnNiu1::SetButtonFont(const CWString& description) {
  m_canvas.SetFontText(description);
  fontSet = 1;
  lineHeight = MeasureSampleHeight();
  redrawEnabled = 0;
  for (int i = 0; i < 4; ++i)
    if (!svgData[i].IsEmpty()) images[i] = RenderButtonImage(svgData[i]);
  redrawEnabled = 1;
  RedrawButton();
}

void rg_TavelkinAnNiu1::SetButtonToolTip(const CWString& text) {
  m_display.SetToolTip(text);
  toolTipText = text;
}

void rg_TavelkinAnNiu1::SetButtonChecked(int32_t flag) {
  if (flag == checked) return;
  checked = flag;
  RedrawButton();
}

void rg_TavelkinAnNiu1::BindButtonClickHandler(CQzuEventSlot<>::Handler handler, const CQzuReceiverRef& receiver) {
  if (handler && receiver) ClickEvent.Connect(handler, receiver, 0);
  else ClickEvent.Disconnect();
  if (handler) AttachListener();
  else DetachListener();
}

void rg_TavelkinAnNiu1::SetButtonSvgResource(int32_t id) {
  svgData[kImageNormal] = LoadResourceBytes(id);
  images[kImageNormal] = RenderButtonImage(svgData[kImageNormal]);
  RedrawButton();
}

void rg_TavelkinAnNiu1::SetButtonBitmapResource(int32_t id) {
  images[kImageNormal] = BitmapFromBuffer(LoadResourceBytes(id));
  RedrawButton();
}

// ---- the press ----

int rg_TavelkinAnNiu1::PressButton(intptr_t, intptr_t userData) {
  pressed = 1;
  SetStateUnlessDisabled(kButtonPressed);
  if (visualState == kButtonDisabled || userData == kPressLookOnly) {
    RedrawButton();
    return 0;
  }
  checked = checked ? 0 : 1;
  if (CheckChangingEvent.IsConnected() && Raise(CheckChangingEvent) == kVetoCheckChange) {
    checked = checked ? 0 : 1;
    SetStateUnlessDisabled(kButtonNormal);
    RedrawButton();
    return 0;
  }
  RedrawButton();
  Raise(ClickEvent);
  return 0;
}

// ---- handlers ----

intptr_t rg_TavelkinAnNiu1::OnButtonCreated(CQzuObject* receiver, CQzuObject*, intptr_t) {
  rg_TavelkinAnNiu1* b = Self(receiver);
  if (!b->fontSet) {
    b->m_canvas.SetFontText(kButtonDefaultFont);
    b->lineHeight = b->MeasureSampleHeight();
  }
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonShown(CQzuObject* receiver, CQzuObject*, intptr_t) {
  Self(receiver)->shown = 1;
  Self(receiver)->RedrawButton();
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonHidden(CQzuObject* receiver, CQzuObject*, intptr_t) {
  Self(receiver)->shown = 0;
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonResize(CQzuObject* receiver, CQzuObject*, intptr_t, int, int) {
  rg_TavelkinAnNiu1* b = Self(receiver);
  const int width = b->GetClientWidth();
  const int height = b->GetClientHeight();
  if (width <= 0 || height <= 0) return 0;
  b->m_canvas.Move(0, 0, width, height);
  b->m_display.Move(0, 0, width, height);
  b->RedrawButton();
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonMouseMove(CQzuObject* receiver, CQzuObject*, intptr_t, int x, int y, int keys) {
  rg_TavelkinAnNiu1* b = Self(receiver);
  if (b->m_timer.GetInterval() == 0) {
    b->hoverStartX = x;
    b->hoverStartY = y;
    PlatformHooks().CursorPosition(b->hoverCursorX, b->hoverCursorY);
    b->m_timer.SetTimer(kHoverWatchTimerId, kHoverWatchMilliseconds);
  }
  if (b->visualState == kButtonNormal) {
    b->visualState = kButtonHover;
    b->RedrawButton();
  }
  b->Raise(b->MouseMoveEvent, x, y, keys);
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonHoverTimer(CQzuObject* receiver, CQzuObject*, intptr_t) {
  rg_TavelkinAnNiu1* b = Self(receiver);
  // The pointer's client position, estimated from how far the cursor moved
  // since the watch started: no mouse message arrives once it has left.
  int cursorX = 0, cursorY = 0;
  PlatformHooks().CursorPosition(cursorX, cursorY);
  const int x = b->hoverStartX + (cursorX - b->hoverCursorX);
  const int y = b->hoverStartY + (cursorY - b->hoverCursorY);
  if (x >= 0 && y >= 0 && x <= b->m_canvas.GetClientWidth() && y <= b->m_canvas.GetClientHeight()) return 0;
  b->m_timer.SetInterval(0);
  if (b->visualState != kButtonDisabled) {
    b->visualState = kButtonNormal;
    b->RedrawButton();
  }
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonLeftDown(CQzuObject* receiver, CQzuObject*, intptr_t userData, int, int, int) {
  Self(receiver)->PressButton(0, userData);
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonLeftUp(CQzuObject* receiver, CQzuObject*, intptr_t userData, int, int, int) {
  rg_TavelkinAnNiu1* b = Self(receiver);
  // The second press of a double click arrives as a double click, never as
  // a left down: its release is what presses the button.
  if (!b->pressed && b->focused) {
    b->PressButton(0, userData);
    QtPumpPendingMessages();
  }
  b->pressed = 0;
  b->SetStateUnlessDisabled(kButtonHover);
  b->RedrawButton();
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonRightDown(CQzuObject* receiver, CQzuObject*, intptr_t, int, int, int) {
  rg_TavelkinAnNiu1* b = Self(receiver);
  b->pressed = 1;
  b->SetStateUnlessDisabled(kButtonPressed);
  b->RedrawButton();
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonRightUp(CQzuObject* receiver, CQzuObject*, intptr_t, int, int, int) {
  rg_TavelkinAnNiu1* b = Self(receiver);
  if (!b->pressed && b->focused) {
    b->pressed = 1;
    b->SetStateUnlessDisabled(kButtonPressed);
    b->RedrawButton();
    QtPumpPendingMessages();
  }
  b->pressed = 0;
  b->SetStateUnlessDisabled(kButtonHover);
  b->RedrawButton();
  if (b->visualState != kButtonDisabled) b->Raise(b->RightClickEvent);
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonDoubleClick(CQzuObject* receiver, CQzuObject*, intptr_t, int, int, int) {
  rg_TavelkinAnNiu1* b = Self(receiver);
  if (b->visualState != kButtonDisabled) b->Raise(b->DoubleClickEvent);
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonKeyDown(CQzuObject* receiver, CQzuObject* sender, intptr_t, int key, int keys) {
  rg_TavelkinAnNiu1* b = Self(receiver);
  if (sender == &b->m_display) b->Raise(b->KeyDownEvent, key, keys);
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonFocusGained(CQzuObject* receiver, CQzuObject* sender, intptr_t) {
  rg_TavelkinAnNiu1* b = Self(receiver);
  if (sender == &b->m_display) b->focused = 1;
  return 0;
}

intptr_t rg_TavelkinAnNiu1::OnButtonFocusLost(CQzuObject* receiver, CQzuObject* sender, intptr_t) {
  rg_TavelkinAnNiu1* b = Self(receiver);
  if (sender == &b->m_display) b->focused = 0;
  return 0;
}

// ---- the check box ----

rg_TavelkinXuanZhongKuang1::rg_TavelkinXuanZhongKuang1() {
  checkMode = 1;
  RedrawButton();
  backColours = {kColourOfParent, kColourOfParent, kColourOfParent, kColourOfParent};
  borderColours = {kColourOfParent, kColourOfParent, kColourOfParent, kColourOfParent};
  glyphStyle = kGlyphCaptionHeight;
  centred = 0;
  RedrawButton();
  leftMargin = 0;
  RedrawButton();
}

int rg_TavelkinXuanZhongKuang1::DefaultWidth() const { return ScaleByDpiFactor(189); }
int rg_TavelkinXuanZhongKuang1::DefaultHeight() const { return ScaleByDpiFactor(36); }

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
