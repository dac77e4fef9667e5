// The drop-down list's field operations: title, handle icon and tip, opening
// and closing with the geometry that follows, hover tracking and the address
// option.
#include "components/drop_down_list.h"

#include "common/dpi.h"
#include "components/colour_window_operations.h"
#include "components/drop_down_address.h"
#include "components/drop_down_geometry.h"
#include "framework/message_pump.h"
#include "platform/hooks.h"
#include "textlib/open_address.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

void rg_TavelkinZuGeKuang1::SetDropDownTitle(const CWString& text) {
  title = text;
  titleWidth = 0;
}

void rg_TavelkinZuGeKuang1::AddDropDownHandleIcon() {
  if (handleIconWidth != 0 && handleIconHeight != 0) {
    pictures.SetPictureGroupSvgImage(CQzuMem(), handleIconWidth, handleIconHeight, 0);
  } else {
    if (lineHeight == 0) lineHeight = MeasureLineHeight();
    pictures.SetPictureGroupSvgImage(CQzuMem(), lineHeight, lineHeight, 1);
  }
  RedrawDropDownList(kDropDownQueued);
}

void rg_TavelkinZuGeKuang1::SetDropDownTipText(const CWString& text) {
  tipText = text;
  CWString tip = text;
  if (urlOption != kUrlOptionOff) tip += text.IsEmpty() ? CWString(u"右击可以打开网址") : CWString(u"（右击可以打开网址）");
  if (colourMode > 0) {
    if (!text.IsEmpty()) tip += u"。";
    tip += u"如果需要定位上次颜色，按住Ctrl键再弹出列表";
  }
  m_display.SetToolTip(tip);
}

intptr_t rg_TavelkinZuGeKuang1::RaiseDropDownItemChosen() { return Raise(ItemChosenEvent); }
intptr_t rg_TavelkinZuGeKuang1::RaiseDropDownColourChosen() { return Raise(ColourChosenEvent); }

// ---- opening and closing ----

void rg_TavelkinZuGeKuang1::ToggleDropDownList() {
  open = open ? 0 : 1;
  if (!open) {
    const rg_TavelkinXiangMu* item = ItemAt(hotRow);
    if (!item || item->IsSeparator()) {
      // A separator row chooses nothing; the list closes at once all the same.
      RedrawDropDownList(kDropDownQueued);
    } else {
      SelectDropDownItem(hotRow);
      if (colourMode > 0) {
        bool chosen = true;
        if (currentIndex != 0) {
          customColour = static_cast<COLORREF>(ItemAt(currentIndex)->number);
        } else if (ColourWindowPointer()) {
          // A window closed without a choice keeps the custom colour and
          // reports nothing.
          const COLORREF picked = PlaceColourWindow(*this, GetDropDownColour());
          chosen = picked != kNoColourChosen;
          if (chosen) SetDropDownColour(picked);
        } else {
          // The program registers no colour window.
          ShowMessageBox(kColourWindowMissingText, u"信息:", kMbOk | kMbIconInformation);
          SetDropDownColour(0);
        }
        if (chosen) {
          QtPumpPendingMessages();
          RaiseDropDownColourChosen();
        }
      } else if (style != kDropDownEditable) {
        QtPumpPendingMessages();
        RaiseDropDownItemChosen();
      }
    }
  } else {
    if (Raise(OpeningEvent) != 0) {
      open = 0;
      return;
    }
    const bool locate = colourMode > 0 ? IsKeyDown(qzu_win::kVkControl) != 0 : locateOnOpen == kLocateCurrent;
    if (locate) {
      if (style != kDropDownListOnly) {
        const CWString value = GetDropDownValue();
        for (int i = 0; i < items.GetCount(); ++i) {
          if (ItemAt(i)->text == value) {
            if (i != currentIndex) SelectDropDownItem(i);
            break;
          }
        }
      }
      if (GetDropDownIndex() >= 0) {
        ApplyDropDownOpenState();
        ScrollToCurrentItem();
      }
    } else if (colourMode > 0 || locateOnOpen == kLocateTop) {
      m_scrollBar.SetScrollBarPosition(1);
    }
    RedrawDropDownList(kDropDownQueued);
  }
  if (!open && listFocused) m_display.SetFocus();
}

void rg_TavelkinZuGeKuang1::ScrollToCurrentItem() {
  const int visible = CountVisibleDropDownRows();
  // The count first, so that the bar does not clamp the new position to the
  // count of an earlier, shorter list.
  if (items.GetCount() - visible >= 1) {
    m_scrollBar.contentSize = items.GetCount();
    m_scrollBar.SetScrollBarCount(items.GetCount() - visible + 1);
  }
  const int position = m_scrollBar.GetScrollBarPosition();
  const int wanted = ScrollPositionShowing(currentIndex, firstVisibleRow, visible, position);
  if (wanted != position) m_scrollBar.SetScrollBarPosition(wanted);
}

int rg_TavelkinZuGeKuang1::ComputeDropDownListHeight(int top) {
  QWidget* w = GetWidget();
  const int parentHeight = w && w->parentWidget() ? w->parentWidget()->height() : 0;
  const DropDownListExtent extent = PlaceDropDownList(items.GetCount(), GetDropDownRowHeight(), ScaleForDpi(rowGap),
                                                      parentHeight, top, fieldHeight);
  listHeight = extent.height;
  opensUpward = extent.upward ? 1 : 0;
  return listHeight;
}

void rg_TavelkinZuGeKuang1::MoveSelf(int x, int y, int width, int height) {
  moving = 1;
  Move(x, y, width, height);
  // A move that changed no size made no size event to clear the flag.
  moving = 0;
}

void rg_TavelkinZuGeKuang1::ApplyDropDownOpenState() {
  QWidget* w = GetWidget();
  if (!w) return;
  CQzuWinControl* host = hostWindow ? FromWidget(hostWindow) : nullptr;
  const bool opening = open && !previousOpen;
  const bool closing = !open && previousOpen;
  if (!host) {
    if (opening) {
      ComputeDropDownListHeight(GetTop());
      if (opensUpward) MoveSelf(GetLeft(), GetTop() - listHeight, GetWidth(), fieldHeight + listHeight);
    } else if (closing && opensUpward) {
      MoveSelf(GetLeft(), GetTop() + listHeight, GetWidth(), fieldHeight);
    }
    if (open) w->raise();
    previousOpen = open;
    return;
  }
  previousOpen = open;
  if (opening) OpenInHostWindow(*host);
  else if (closing) CloseFromHostWindow();
}

void rg_TavelkinZuGeKuang1::OpenInHostWindow(CQzuWinControl& host) {
  QWidget* home = GetWidget()->parentWidget();
  if (!home) return;
  const int left = GetLeft(), top = GetTop(), width = GetWidth();
  savedRectangle = {left, top, left + width, top + GetHeight()};
  const QPoint offset = home->mapToGlobal(QPoint(0, 0)) - host.GetWidget()->mapToGlobal(QPoint(0, 0));
  moving = 1;
  SetParentControl(&host);
  moving = 0;
  const int hostTop = top + offset.y();
  ComputeDropDownListHeight(hostTop);
  MoveSelf(left + offset.x(), opensUpward ? hostTop - listHeight : hostTop, width, fieldHeight + listHeight);
  GetWidget()->raise();
}

void rg_TavelkinZuGeKuang1::CloseFromHostWindow() {
  CQzuWinControl* home = parentWindow ? FromWidget(parentWindow) : nullptr;
  if (!home) return;
  moving = 1;
  SetParentControl(home);
  moving = 0;
  MoveSelf(savedRectangle.left, savedRectangle.top, GetWidth(), fieldHeight);
  Raise(ClosedEvent);
}

// ---- the pointer ----

void rg_TavelkinZuGeKuang1::TrackDropDownHover(CQzuObject* sender, int x, int y, int keyFlags) {
  if (!IsDisplay(sender)) return;
  hotRow = DropDownRowAt(y, ScaleForDpi(rowGap), opensUpward != 0, fieldHeight, listHeight, GetDropDownRowHeight(),
                         firstVisibleRow);
  bool repaint = hotRow != previousHotRow;
  previousHotRow = hotRow;
  if (watcher.OnTrackedMouseMove(this, x, y) == 1) {
    hover = 1;
    repaint = true;
    m_timer.KillTimer();
  }
  const bool inFieldRow = opensUpward ? y > GetClientHeight() - fieldHeight : y < fieldHeight;
  const int32_t onHandle = x >= GetDropDownHandleLeft() && inFieldRow ? 1 : 0;
  if (onHandle != handleHover) repaint = true;
  handleHover = onHandle;
  if (repaint) RedrawDropDownList(kDropDownQueued);
  Raise(MouseMoveEvent, x, y, keyFlags);
}

void rg_TavelkinZuGeKuang1::OpenDropDownAddress() {
  if (open) ToggleDropDownList();
  if (style != kDropDownListOnly) {
    SetDropDownValue(GetClipboardText());
    return;
  }
  const rg_TavelkinXiangMu* item = ItemAt(currentIndex);
  if (urlOption == kUrlOptionOff || !item) return;
  const CWString address = DropDownItemAddress(item->text, urlOption == kUrlOptionAddWww);
  if (!address.IsEmpty()) OpenAddress(address, CWString());
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
