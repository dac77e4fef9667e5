// rg_TavelkinShuXingKuang: presses, releases, double clicks, hovering, the
// wheel, keys, scroll-bar movements and the in-place rename. Every hit test
// reads the line tables of the last paint, in content coordinates.
#include <algorithm>

#include "foldertree/tree_box.h"
#include "framework/win_defs.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

namespace {

constexpr int kVkLeft = 0x25;
constexpr int kVkUp = 0x26;
constexpr int kVkRight = 0x27;
constexpr int kVkDown = 0x28;
constexpr int kVkF2 = 0x71;
constexpr int kEmSetSel = 0xB1;
constexpr int kEmScrollCaret = 0xB7;

// Open ranges: the edges themselves do not hit; kNoHitX never does.
bool Hits(int32_t start, int width, int x) { return start != kNoHitX && start < x && x < start + width; }

using Guard = rg_Ombrine_base::rg_HuChiSuoLei::Guard;

}  // namespace

int rg_TavelkinShuXingKuang::LineOfY(int y) const {
  const int step = rowGap + rowHeight;
  // Before the first paint there is no line height to divide by.
  if (step <= 0) return -1;
  return (y - margin) / step;
}

bool rg_TavelkinShuXingKuang::IsValidLine(int line) const { return line >= 0 && line < lineRows.GetCount(); }

intptr_t rg_TavelkinShuXingKuang::RaiseBeforeExpandEvent(int row) { return Raise(OnBeforeExpand, row); }

void rg_TavelkinShuXingKuang::RaiseRowClickedEvent(int row) { Raise(OnRowClicked, row); }

int rg_TavelkinShuXingKuang::HandleTreeBoxClick(int button, int x, int y) {
  const bool right = button == kTreeRightButton;
  renamePending = 0;
  const int line = LineOfY(y);
  lineUnderMouse = line;
  if (IsValidLine(line)) {
    const auto i = static_cast<size_t>(line);
    const int row = lineRows[i];
    if (!right && Hits(lineExpandX[i], boxSize, x)) {
      if (RaiseBeforeExpandEvent(row) != 0) return 0;
      TreeRowLocator locator;
      m_model.SetRowExpandState(row, 0, 1, locator);
      Raise(OnExpandToggled, row);
      return 0;
    }
    if (!right && Hits(lineCheckX[i], boxSize, x)) {
      if (Raise(OnBeforeCheck, row) != 0) return 0;
      TreeRowLocator locator;
      m_model.SetRowCheckState(row, 0, 1, locator, 0);
      Raise(OnCheckChanged, row);
      return 0;
    }
    const int textStart = lineTextStart[i];
    if (textStart < x && x < lineTextEnd[i]) {
      const int old = m_model.SelectedRowValue();
      m_model.SetSelectedRowValue(row);
      PaintTreeBox(-1);
      if (old != row || reReportSameRow)
        Raise(OnRowChosen, row, right ? kChosenByRightPress : kChosenByLeftPress, old == row ? 1 : 0);
      // A second press on the selected row's text (not its icon) arms the
      // slow-click rename.
      if (old == row && renameOnSlowClick && !right && x > textStart + iconSize + margin) {
        renamePending = 1;
        RaiseRowClickedEvent(row);
        return 0;
      }
      if (right) Raise(OnRowRightClicked);
      else RaiseRowClickedEvent(row);
      return 0;
    }
  }
  RaiseRowClickedEvent(-1);
  if (clearSelectionOnEmptyPress) {
    m_model.SetSelectedRowValue(-1);
    PaintTreeBox(-1);
    Raise(OnRowChosen, -1, kChosenByLeftPress, 0);
  }
  return 0;
}

int rg_TavelkinShuXingKuang::OnTreeBoxLeftUp(int y) {
  if (!renamePending) return 0;
  releaseLine = LineOfY(y);
  if (releaseLine == lineUnderMouse && IsValidLine(releaseLine)) {
    m_renameTimer.KillTimer();
    m_renameTimer.SetTimer(kTreeTimerEventId, kRenameDelayMilliseconds);
  } else {
    renamePending = 0;
  }
  return 0;
}

int rg_TavelkinShuXingKuang::HandleTreeBoxDoubleClick(int x) {
  const int line = lineUnderMouse;
  if (!IsValidLine(line)) return 0;
  const auto i = static_cast<size_t>(line);
  if (Hits(lineExpandX[i], boxSize, x) || Hits(lineCheckX[i], boxSize, x)) return 0;
  if (!(lineTextStart[i] < x && x < lineTextEnd[i])) return 0;
  renamePending = 0;
  // The row under the mouse: the row of the pressed line.
  const int row = lineRows[i];
  if (RaiseBeforeExpandEvent(row) != 0) return 0;
  TreeRowLocator locator;
  m_model.SetRowFields(row, nullptr, -2, -1, locator, 0);
  return 0;
}

int rg_TavelkinShuXingKuang::TrackTreeBoxHover(CQzuObject* sender, int x, int y) {
  if (sender != &m_display) return 0;
  const int line = LineOfY(y);
  lineUnderMouse = line;
  if (IsValidLine(line) && lineTextStart[static_cast<size_t>(line)] < x && x < lineTextEnd[static_cast<size_t>(line)]) {
    hoverRow = lineRows[static_cast<size_t>(line)];
    if (hoverRow == lastReportedHoverRow) return 0;
    lastReportedHoverRow = hoverRow;
    if (hoverUnderline) PaintTreeBox(-1);
    Raise(OnHoverChanged, hoverRow);
    m_display.SetToolTip(lineToolTips.Get(line));
    return 0;
  }
  hoverRow = -1;
  m_display.SetToolTip(CWString());
  if (lastReportedHoverRow != -1) {
    lastReportedHoverRow = -1;
    if (hoverUnderline) PaintTreeBox(-1);
  }
  return 0;
}

int rg_TavelkinShuXingKuang::OnTreeBoxWheel(int steps) {
  if (verticalScrollShown) m_verticalBar.SetScrollBarPosition(m_verticalBar.GetScrollBarPosition() - steps);
  return 0;
}

int rg_TavelkinShuXingKuang::HandleTreeBoxKey(int key, int flags) {
  if (key == kVkLeft || key == kVkRight) {
    if (flags == qzu_win::kModAlt) {
      if (horizontalScrollShown)
        m_horizontalBar.SetScrollBarPosition(m_horizontalBar.GetScrollBarPosition() + (key == kVkLeft ? -1 : 1));
    } else {
      const int selected = m_model.GetSelectedRow();
      if (selected >= 0 && RaiseBeforeExpandEvent(selected) == 0) {
        // The bold bit stays; the model patches the visible rows and
        // repaints while redraw is enabled.
        TreeRowLocator locator;
        m_model.SetRowExpandState(selected, key == kVkRight ? 1 : 0, 0, locator);
      }
    }
  } else if (key == kVkUp || key == kVkDown) {
    {
      Guard hold(keyboardMoveLock);
      // A move already under way (its events pump messages) refuses this
      // one, and so does an empty list.
      if (m_model.GetVisibleRowCount() == 0 || keyboardMoveFlag == 0) return 0;
      keyboardMoveFlag = 0;
    }
    const int count = m_model.GetVisibleRowCount();
    int line = m_model.GetVisibleIndexOfRow(m_model.SelectedRowValue()) + (key == kVkUp ? -1 : 1);
    if (line < 1) line = count;
    else if (line > count) line = 1;
    m_model.SetPendingAction(kChosenByKey);
    const int row = m_model.GetVisibleRowAt(line);
    if (row != -1) m_model.SelectTreeRow(row);
    Guard hold(keyboardMoveLock);
    keyboardMoveFlag = 1;
  } else if (key == kVkF2) {
    const int selected = m_model.GetSelectedRow();
    if (selected != -1) BeginRowRename(selected, kRenameFromKeyboard);
  }
  Raise(OnKeyPressed, key, flags);
  return 0;
}

int rg_TavelkinShuXingKuang::OnTreeScrollBarMoved(CQzuObject* sender, int position) {
  // Scrolling leaves the rename field: its focus-lost commit follows.
  if (m_renameField.IsVisible()) m_display.SetFocus();
  if (sender == &m_horizontalBar) {
    if (position == m_horizontalBar.positionCount) {
      // The content's right edge at the visible area's.
      const int beside = verticalScrollShown ? m_verticalBar.GetWidth() + 1 : 0;
      canvasX = GetClientWidth() - contentWidth - beside;
    } else {
      canvasX = (1 - position) * textHeight;
    }
    canvasX = std::min(canvasX, 0);
    PaintTreeBox(-1);
  } else if (sender == &m_verticalBar) {
    PaintTreeBox(m_model.GetVisibleRowAt(position));
  }
  return 0;
}

int rg_TavelkinShuXingKuang::OnTreeScrollDragEnded(CQzuObject* sender) {
  if (sender != &m_verticalBar) return 0;
  PaintTreeBox(-1);
  if (keepAtEnd) {
    keepAtEnd = 0;
    m_verticalBar.SetScrollBarPosition(m_verticalBar.positionCount);
  }
  return 0;
}

int rg_TavelkinShuXingKuang::BeginRowRename(int row, int line) {
  TreeRowLocator locator;
  CWString text = m_model.GetRowText(row, locator);
  if (Raise(OnBeforeRename, row, text) != 0) return 0;
  if (line == kRenameFromKeyboard) {
    if (row == m_model.SelectedRowValue()) {
      TreeRowLocator own;
      m_model.EnsureRowVisible(row, own);
    } else {
      m_model.SelectTreeRow(row);
    }
  }
  int i = -1;
  const int selected = m_model.SelectedRowValue();
  for (int k = 0; k < lineRows.GetCount(); ++k) {
    if (lineRows[static_cast<size_t>(k)] == selected) {
      i = k;
      break;
    }
  }
  if (i < 0) {
    if (line == kRenameFromKeyboard) return 0;
    i = line;
  }
  if (!IsValidLine(i)) return 0;

  m_renameField.SetFontText(TreeFontText(false, false));
  const auto at = static_cast<size_t>(i);
  const int start = lineTextStart[at], end = lineTextEnd[at];
  const int x = canvasX + start + iconSize + margin - 1;
  const int y = margin + i * (rowGap + rowHeight);
  // Wide enough for the whole name in the field (its frame and margins
  // included), so that it opens without scrolling its start away.
  int width = std::max({end - start - iconSize - margin + 6, m_renameField.WidthForText(text), 3 * textHeight});
  width = std::min(width, GetClientWidth() - x);
  m_renameField.Move(x, y, width, rowHeight);

  m_renameField.SetText(text);
  m_renameField.SetTextMember(m_renameField.GetText());
  m_renameField.SetVisible(true);
  if (QWidget* w = m_renameField.GetWidget()) w->raise();
  renameRow = row;
  m_renameField.SendMessage(kEmSetSel, 0, -1);
  m_renameField.SendMessage(kEmScrollCaret);
  m_renameField.SetFocus();
  return 1;
}

int rg_TavelkinShuXingKuang::CommitRowRename(CQzuObject* sender) {
  if (sender != &m_renameField || !m_renameField.IsVisible()) return 0;
  m_renameField.SetVisible(false);
  CWString now = m_renameField.GetText();
  const int row = renameRow;
  CWString before = m_renameField.GetTextMember();
  if (Raise(OnRenameCommitted, row, before, now) == 0) {
    TreeRowLocator locator;
    m_model.SetRowFields(row, &now, -1, -1, locator, 0);
  }
  return 0;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
