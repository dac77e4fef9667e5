// The drop-down list's painting: the field row (border, icon, title, current
// item or edit field, handle) and, while open, the frame, the scroll bar and
// the visible rows. Everything is drawn on the canvas and reaches the display
// in one copy.
#include <algorithm>

#include "common/dpi.h"
#include "components/colour_arithmetic.h"
#include "components/drop_down_geometry.h"
#include "components/drop_down_list.h"
#include "framework/bitmap_object.h"
#include "framework/colorref.h"
#include "framework/message_pump.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

using rg_Ombrine_MFCJieMian_base::kButtonFaceSentinel;

namespace {

constexpr COLORREF kFramePen = 0xC0C0C0;
constexpr COLORREF kListBackground = 0xFFFFFF;
constexpr COLORREF kSeparatorPen = 0xC0C0C0;
constexpr COLORREF kGreyedText = 0x808080;
constexpr COLORREF kHotText = 0x0000FF;
constexpr COLORREF kSwatchPen = 0x999999;
constexpr COLORREF kHandleHotPen = 0xF9B7B7;
constexpr COLORREF kHandleHotBrush = 0x1981F4;
constexpr COLORREF kHandleBrush = 0xF2C9C9;

// 0xFF000000 in the field's colours stands for the button face.
COLORREF FieldColour(COLORREF c) { return c == kButtonFaceSentinel ? kButtonFaceColour : c; }

COLORREF SwatchColour(int32_t number, COLORREF custom) {
  if (number == kDropDownCustomColour) return custom;
  if (number == -1) return 0xFFFFFF;
  if (static_cast<COLORREF>(number) == kButtonFaceSentinel) return kButtonFaceColour;
  return static_cast<COLORREF>(number);
}

}  // namespace

int rg_TavelkinZuGeKuang1::GetDropDownRowHeight() const {
  return std::max(pictures.tallest, lineHeight) + ScaleForDpi(rowGap);
}

int rg_TavelkinZuGeKuang1::CountVisibleDropDownRows() const {
  return CountVisibleRows(listHeight, ScaleForDpi(rowGap), GetDropDownRowHeight());
}

int rg_TavelkinZuGeKuang1::GetDropDownHandleLeft() { return HandleLeftEdge(m_canvas.GetClientWidth(), fieldHeight); }

CWString rg_TavelkinZuGeKuang1::RowFontText(bool bold) const {
  rg_Tavelkin_MingLingJi::rg_TavelkinZiTiLei1 rowFont;
  rowFont.CopyFrom(font);
  rowFont.bold = bold ? 1 : 0;
  return rowFont.FormatFontText();
}

void rg_TavelkinZuGeKuang1::UseRowFont(bool bold) { m_canvas.GetDC().SetFontText(RowFontText(bold)); }

int rg_TavelkinZuGeKuang1::FieldContentOffset() const {
  const int picture = pictures.widest;
  const int gap = ScaleForDpi(rowGap);
  int offset = picture >= 1 ? picture + 2 * gap : 0;
  if (titleWidth > 0) offset += titleWidth + gap * (picture < 1 ? 2 : 1);
  return offset;
}

void rg_TavelkinZuGeKuang1::RedrawDropDownList(int32_t paintNow) {
  if (!drawingEnabled || !ready) return;
  if (paintNow) {
    PaintDropDownList();
    return;
  }
  QtPumpPendingMessages();
  // All requests are the same empty one: the queue keeps one of a burst.
  redrawQueue.AddRequest(CQzuMem());
}

void rg_TavelkinZuGeKuang1::PlaceEditField(int contentOffset, int fieldTop) {
  if (style == kDropDownListOnly) {
    m_edit.SetVisible(false);
    return;
  }
  m_edit.Move(contentOffset + 1, fieldTop + 1, GetDropDownHandleLeft() - fieldHeight / 8 - contentOffset - 1,
              fieldHeight - 2);
  m_edit.SetVisible(true);
  // Over the painters, which were made after it.
  m_edit.BringToTop();
}

void rg_TavelkinZuGeKuang1::PlaceScrollBar() {
  const int count = items.GetCount();
  const int visible = CountVisibleDropDownRows();
  if (count - visible < 1) {
    m_scrollBar.SetVisible(false);
    // Every row fits: a scroll position left from a longer list must not
    // hide them.
    if (m_scrollBar.GetScrollBarPosition() != 1) m_scrollBar.SetScrollBarPosition(1);
    firstVisibleRow = 0;
    return;
  }
  m_scrollBar.contentSize = count;
  m_scrollBar.SetScrollBarCount(count - visible + 1);
  const int width = m_scrollBar.GetWidth();
  m_scrollBar.Move(GetClientWidth() - width - 1, opensUpward ? 0 : fieldHeight, width,
                   GetClientHeight() - fieldHeight);
  m_scrollBar.SetVisible(true);
  m_scrollBar.BringToTop();
}

void rg_TavelkinZuGeKuang1::PaintDropDownList() {
  if (!m_canvas.HasWindow() || !m_display.HasWindow()) return;
  ++m_paintCount;
  const int gap = ScaleForDpi(rowGap);
  if (!title.IsEmpty() && titleWidth == 0) {
    UseRowFont(false);
    titleWidth = m_canvas.GetDC().GetTextExtent(title).width();
  }
  ApplyDropDownOpenState();
  const int h = fieldHeight;
  const int contentOffset = FieldContentOffset();
  const int fieldTop = open && opensUpward ? listHeight : 0;
  PlaceEditField(contentOffset, fieldTop);

  if (open) {
    if (GetHeight() != h + listHeight) MoveSelf(GetLeft(), GetTop(), GetWidth(), h + listHeight);
    PlaceScrollBar();
    CQzuDC& dc = m_canvas.GetDC();
    const int width = GetClientWidth();
    dc.SetPen(kFramePen);
    dc.SetBrush(kListBackground);
    dc.Rectangle(opensUpward ? QzuRect{0, 0, width, dc.Height() - h} : QzuRect{0, h, width, dc.Height()});
    const int rowHeight = GetDropDownRowHeight();
    const int visible = CountVisibleDropDownRows();
    int y = gap + (opensUpward ? 0 : h);
    for (int i = firstVisibleRow; i <= firstVisibleRow + visible; ++i) {
      const rg_TavelkinXiangMu* item = ItemAt(i);
      if (!item) continue;
      drawX = gap;
      drawY = y;
      DrawDropDownItem(*item, rowHeight, i == hotRow, i == currentIndex, false, 0, false);
      y += rowHeight;
    }
  } else {
    if (h != 0 && h != GetHeight()) MoveSelf(GetLeft(), GetTop(), GetWidth(), h);
    m_scrollBar.SetVisible(false);
  }

  DrawDropDownField(fieldTop, contentOffset);
  m_display.CopyCanvasFrom(m_canvas);
}

void rg_TavelkinZuGeKuang1::DrawDropDownField(int fieldTop, int contentOffset) {
  CQzuDC& dc = m_canvas.GetDC();
  const int h = fieldHeight;
  const int width = GetClientWidth();
  const COLORREF border = FieldColour(borderColour);
  dc.SetPen(hover ? FieldColour(hoverBorderColour) : border);
  dc.SetBrush(FieldColour(fieldBackground));
  dc.Rectangle({0, fieldTop, width, fieldTop + h});
  if (style != kDropDownListOnly) {
    if (pictures.widest > 0 || titleWidth > 0) {
      dc.MoveTo(contentOffset, fieldTop);
      dc.LineTo(contentOffset, fieldTop + h);
    }
    const int editRight = m_edit.GetLeft() + m_edit.GetWidth();
    dc.MoveTo(editRight, fieldTop);
    dc.LineTo(editRight, fieldTop + h);
  }

  drawX = ScaleForDpi(rowGap);
  drawY = fieldTop;
  const int reserve = dc.Width() - GetDropDownHandleLeft();
  if (const rg_TavelkinXiangMu* current = ItemAt(currentIndex))
    DrawDropDownItem(*current, h, false, false, style != kDropDownListOnly, reserve, true);
  else if (const rg_TavelkinXiangMu* first = ItemAt(0))
    DrawDropDownItem(*first, h, false, false, true, reserve, true);
  else
    DrawDropDownItem(m_placeholder, h, false, false, true, reserve, true);

  const int a = h / 4, s = h / 24;
  if (handleHover || open) {
    dc.SetPen(kHandleHotPen);
    dc.SetBrush(kHandleHotBrush);
  } else {
    dc.SetPen(border);
    dc.SetBrush(kHandleBrush);
  }
  const int x = GetDropDownHandleLeft();
  int y = fieldTop + (h - 3 * a - 2 * s) / 2;
  for (int k = 0; k < 3; ++k) {
    dc.Rectangle({x, y, x + a, y + a});
    y += a + s;
  }
}

void rg_TavelkinZuGeKuang1::DrawDropDownPicture(int index, int rowHeight) {
  if (index < 0 || index >= pictures.GetPictureCount()) return;
  const auto* picture = dynamic_cast<const rg_Ombrine_base::rg_WeiTuDuiXiangLei*>(pictures.pictures[index]);
  if (!picture || picture->IsEmpty()) return;
  const QImage& image = picture->GetImage();
  const int w = image.width(), h = image.height();
  const int x = drawX + (pictures.widest - w) / 2;
  const int y = drawY + ((rowHeight != 0 ? rowHeight : pictures.tallest) - h) / 2;
  const int32_t mode = index < pictures.drawModes.GetCount() ? pictures.drawModes[static_cast<size_t>(index)] : 0;
  CQzuDC& dc = m_canvas.GetDC();
  if (mode == 0 || mode == -1) dc.AlphaBlend(x, y, w, h, image, 0, 0, w, h, 255, image.hasAlphaChannel());
  else dc.TransparentBlt(x, y, w, h, image, 0, 0, w, h, static_cast<COLORREF>(mode));
}

void rg_TavelkinZuGeKuang1::DrawDropDownItem(const rg_TavelkinXiangMu& item, int rowHeight, bool hot, bool selected,
                                             bool inField, int rightReserve, bool fieldRow) {
  CQzuDC& dc = m_canvas.GetDC();
  const int gap = ScaleForDpi(rowGap);
  if (item.IsSeparator()) {
    const int bar = m_scrollBar.IsVisible() ? m_scrollBar.GetWidth() : 0;
    dc.SetPen(kSeparatorPen);
    dc.MoveTo(2 * gap, drawY + rowHeight / 2);
    dc.LineTo(dc.Width() - 2 * gap - bar, drawY + rowHeight / 2);
    return;
  }
  if (pictures.widest > 0 && !item.IsNull()) {
    DrawDropDownPicture(item.iconIndex, rowHeight);
    drawX += gap + pictures.widest;
  }
  UseRowFont(selected);
  dc.SetBkMode(kBkTransparent);
  const int textY = drawY + (rowHeight - lineHeight) / 2;
  if (fieldRow && titleWidth > 0) {
    dc.SetTextColour(titleColour);
    dc.TextOut(drawX, textY, title);
    drawX += gap + titleWidth;
  }
  if (inField) return;
  dc.SetTextColour(greyedText ? kGreyedText : (hot ? kHotText : 0));
  if (item.IsNull()) return;
  if (colourMode <= 0) {
    dc.TextOut(drawX, textY, item.text);
    return;
  }
  const COLORREF swatch = SwatchColour(item.number, customColour);
  const int k = hot ? ScaleForDpi(3) : 0;
  const int reserve = rightReserve != 0 ? rightReserve : m_scrollBar.GetWidth();
  dc.SetPen(kSwatchPen);
  dc.SetBrush(swatch);
  dc.Rectangle({drawX - k, textY - k, GetClientWidth() + k - reserve - ScaleForDpi(5), textY + lineHeight + k});
  const rg_Ombrine_base::rg_ZhengShuShuZuLei hsl = RgbToHsl(swatch);
  dc.SetTextColour(DerivedColour(hsl[0], hsl[1], hsl[2]));
  dc.TextOut(drawX + ScaleForDpi(3), textY, item.text);
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
