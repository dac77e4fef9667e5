#include "components/owner_drawn_label.h"

#include "common/dpi.h"
#include "components/label_layout.h"
#include "components/owner_drawn_surfaces.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

using rg_Ombrine_MFCJieMian_base::rg_painter;
using rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi;

QZU_IMPLEMENT_CLASS(rg_TavelkinBiaoQian, rg_ZuJianBuJuQi, "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinBiaoQian")

namespace {

constexpr COLORREF kFollowMarker = static_cast<COLORREF>(-2);
const char16_t kDefaultFont[] = u"微软雅黑, 11, 0, 0, 0, 0, 0";

rg_TavelkinBiaoQian* Self(CQzuObject* receiver) { return static_cast<rg_TavelkinBiaoQian*>(receiver); }

intptr_t Created(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->OnLabelCreated(); }
intptr_t Resized(CQzuObject* r, CQzuObject*, intptr_t, int, int) { return Self(r)->OnLabelResize(); }
intptr_t Shown(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->OnLabelShown(); }
intptr_t Hidden(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->OnLabelHidden(); }
intptr_t Pressed(CQzuObject* r, CQzuObject*, intptr_t, int x, int y, int) { return Self(r)->ForwardLabelClick(x, y); }

}  // namespace

rg_TavelkinBiaoQian::rg_TavelkinBiaoQian() : m_receiver(CQzuReceiverRef::Make(this)) { m_canvas.SetVisible(false); }

rg_TavelkinBiaoQian::~rg_TavelkinBiaoQian() {
  // First of all: no handler may run into a half-destroyed label.
  m_receiver->Detach();
  OnClick.Disconnect();
}

bool rg_TavelkinBiaoQian::IsEqual(const CQzuObject& other) const { return SameHeader(other) && &other == this; }

int rg_TavelkinBiaoQian::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinBiaoQian, source)
  CopyWinControl(src);
  m_canvas.CopyFrom(src.m_canvas);
  m_display.CopyFrom(src.m_display);
  ruleStyle = src.ruleStyle;
  spareText = src.spareText;
  markerColour = src.markerColour;
  textColour = src.textColour;
  caption = src.caption;
  markerWidth = src.markerWidth;
  ownFont = src.ownFont;
  shown = src.shown;
  sideLineColour = src.sideLineColour;
  sideLineStyle = src.sideLineStyle;
  topRuleFitsCaption = src.topRuleFitsCaption;
  return 1;
}

void rg_TavelkinBiaoQian::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  s.WriteText(m_text);
  m_canvas.SaveToStream(s);
  m_display.SaveToStream(s);
  s.WriteInt32(ruleStyle);
  s.WriteText(spareText);
  s.WriteUInt32(markerColour);
  s.WriteUInt32(textColour);
  s.WriteText(caption);
  for (int32_t v : {markerWidth, ownFont, shown}) s.WriteInt32(v);
  s.WriteUInt32(sideLineColour);
  s.WriteInt32(sideLineStyle);
  s.WriteInt32(topRuleFitsCaption);
}

void rg_TavelkinBiaoQian::LoadFromStream(CQzuStream& s) {
  if (!s.Ok()) return;
  CWString text;
  if (!s.ReadText(text)) return;
  m_text = text;
  m_canvas.LoadFromStream(s);
  m_display.LoadFromStream(s);
  s.ReadInt32(ruleStyle);
  s.ReadText(spareText);
  s.ReadUInt32(markerColour);
  s.ReadUInt32(textColour);
  s.ReadText(caption);
  for (int32_t* v : {&markerWidth, &ownFont, &shown}) s.ReadInt32(*v);
  s.ReadUInt32(sideLineColour);
  s.ReadInt32(sideLineStyle);
  s.ReadInt32(topRuleFitsCaption);
}

int rg_TavelkinBiaoQian::DefaultWidth() const { return ScaleByDpiFactor(468); }
int rg_TavelkinBiaoQian::DefaultHeight() const { return ScaleByDpiFactor(306); }

void rg_TavelkinBiaoQian::CreateChildren() {
  auto S = [](int v) { return ScaleByDpiFactor(v); };
  const int margin = ScaleForDpi(3);
  SetToolTipStyle(0x008000, margin);
  OnSize.Connect(&Resized, m_receiver);
  AttachListener();
  OnShown.Connect(&Shown, m_receiver);
  AttachListener();
  OnHidden.Connect(&Hidden, m_receiver);
  AttachListener();
  OnCreated.Connect(&Created, m_receiver);
  AttachListener();

  for (rg_painter* p : {&m_canvas, &m_display}) {
    p->OnLeftDown.Connect(&Pressed, m_receiver);
    p->SetBuffered(true);
    p->SetToolTipStyle(0x008000, margin);
  }
  m_canvas.SetVisible(false);
  m_canvas.Create(this, 0, 0, S(120), S(100), 101);
  m_display.SetVisible(true);
  m_display.Create(this, S(346), S(197), S(120), S(100), 102);
}

int rg_TavelkinBiaoQian::OnLabelCreated() {
  if (!ownFont) m_canvas.SetFontText(kDefaultFont);
  return 0;
}

int rg_TavelkinBiaoQian::OnLabelResize() {
  if (StretchSurfacesOverClient(*this, m_canvas, m_display)) RedrawLabel();
  return 0;
}

int rg_TavelkinBiaoQian::OnLabelShown() {
  shown = 1;
  RedrawLabel();
  return 0;
}

int rg_TavelkinBiaoQian::OnLabelHidden() {
  shown = 0;
  return 0;
}

int rg_TavelkinBiaoQian::ForwardLabelClick(int x, int y) {
  Raise(OnClick, x, y);
  return 0;
}

void rg_TavelkinBiaoQian::SetLabelText(const CWString& text) {
  caption = text;
  RedrawLabel();
}

void rg_TavelkinBiaoQian::BindLabelEventHandler(ClickHandler handler, const CQzuReceiverRef& receiver) {
  if (!handler || !receiver) OnClick.Disconnect();
  else OnClick.Connect(handler, receiver, OnClick.UserData());
  AttachListener();
}

void rg_TavelkinBiaoQian::RedrawLabel() {
  if (!shown) return;
  ++m_paintCount;
  CQzuDC& dc = m_canvas.GetDC();
  const COLORREF back = m_canvas.GetBackColour();
  dc.Clear(back == rg_Ombrine_MFCJieMian_base::kDefaultColour ? 0xFFFFFF : back);

  const QSize extent = dc.GetTextExtent(caption);
  LabelLayoutInput in;
  in.captionWidth = extent.width();
  in.captionHeight = extent.height();
  in.clientWidth = dc.Width();
  in.clientHeight = dc.Height();
  in.markerWidth = markerWidth;
  in.ruleStyle = ruleStyle;
  in.topRuleFitsCaption = topRuleFitsCaption;
  in.sideLineStyle = sideLineStyle;
  const LabelLayout at = LayOutLabel(in);

  dc.SetPen(markerColour);
  dc.SetBrush(markerColour);
  if (at.marker) dc.Rectangle({0, 0, at.markerWidth, at.blockBottom});
  if (at.ruleUnder) {
    dc.MoveTo(0, at.blockBottom);
    dc.LineTo(in.clientWidth, at.blockBottom);
  }
  if (at.ruleTop) {
    dc.MoveTo(0, 0);
    dc.LineTo(at.topRuleEnd, 0);
  }
  dc.SetTextColour(textColour == kFollowMarker ? markerColour : textColour);
  dc.SetBkMode(kBkTransparent);
  dc.TextOut(at.captionX, at.captionY, caption);
  if (at.sideLine) {
    dc.SetPen(sideLineColour == kFollowMarker ? markerColour : sideLineColour, 1, at.sideLineDotted ? kPsDot : kPsSolid);
    dc.MoveTo(at.sideLineX, at.sideLineTop);
    dc.LineTo(at.sideLineX, at.sideLineBottom);
  }
  m_display.CopyCanvasFrom(m_canvas);
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
