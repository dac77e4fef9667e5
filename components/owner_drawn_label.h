#pragma once
// rg_TavelkinBiaoQian: the owner-drawn heading label: a caption led by a
// coloured marker block, with a rule under it, over it or both, and an
// optional side line (layout in components/label_layout.h). It paints on a
// hidden canvas painter and copies the picture onto the visible display
// painter, only while it is shown; a caption set while hidden is drawn at the
// next shown event. A left press on either painter raises the click event as
// handler(receiver, label, user data, x, y); the result is ignored. UI thread
// only.
#include <cstdint>

#include "common/event.h"
#include "framework/painter.h"
#include "framework/win_container.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

class rg_TavelkinBiaoQian : public rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi {
  QZU_DECLARE_CLASS(rg_TavelkinBiaoQian)

 public:
  using ClickHandler = CQzuEventSlot<int, int>::Handler;

  rg_TavelkinBiaoQian();
  // Refuses new event calls and waits for running ones before anything goes.
  ~rg_TavelkinBiaoQian() override;

  // Equal only to itself (the children are compared by identity).
  bool IsEqual(const CQzuObject& other) const override;
  // Shares the painters' windows, copies the texts and plain members; not
  // the click event.
  int CopyFrom(const CQzuObject& source) override;
  // The base's text member, the painters, then the members in order.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;
  // 468 x 306 logical pixels.
  int DefaultWidth() const override;
  int DefaultHeight() const override;

  // The caption becomes a copy of `text`; then RedrawLabel.
  void SetLabelText(const CWString& text);
  // Paints marker, rules, caption and side line, then shows the picture;
  // nothing unless shown. Owners call it after changing a colour, a style or
  // the font.
  void RedrawLabel();
  // Connects the click event to `handler` with `receiver`; a null receiver
  // (or handler) clears it. The listener is attached again afterwards.
  void BindLabelEventHandler(ClickHandler handler, const CQzuReceiverRef& receiver);

  int OnLabelCreated();
  int OnLabelResize();
  int OnLabelShown();
  int OnLabelHidden();
  int ForwardLabelClick(int x, int y);

  rg_Ombrine_MFCJieMian_base::rg_painter& Canvas() { return m_canvas; }
  rg_Ombrine_MFCJieMian_base::rg_painter& Display() { return m_display; }
  // How many times the label has been painted.
  int GetPaintCount() const { return m_paintCount; }

  CQzuEventSlot<int, int> OnClick;

  // Members, in the order of the stream form (after the painters).
  int32_t ruleStyle = 0;  // kLabelRule... of components/label_layout.h
  CWString spareText;     // copied and streamed only
  COLORREF markerColour = 0x663399;
  COLORREF textColour = static_cast<COLORREF>(-2);  // -2: the marker colour
  CWString caption = u"Tavelkin标签";
  int32_t markerWidth = 0;  // > 0 pixels, -1 none, else a fifth of the caption height
  int32_t ownFont = 0;      // the owner set the canvas font: the created handler leaves it
  int32_t shown = 0;
  COLORREF sideLineColour = 0xC0C0C0;  // -2: the marker colour
  int32_t sideLineStyle = -1;          // negative none, 0 dotted, above 0 solid at the right edge
  int32_t topRuleFitsCaption = 0;

 protected:
  void CreateChildren() override;

 private:
  CQzuReceiverRef m_receiver;
  rg_Ombrine_MFCJieMian_base::rg_painter m_canvas;
  rg_Ombrine_MFCJieMian_base::rg_painter m_display;
  int m_paintCount = 0;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
