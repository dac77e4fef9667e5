// rg_TavelkinShuXingKuang: the child controls, the connection of their
// events and of the container's to the tree box, the container handlers
// (size, shown, hidden, destroyed, timers, file drop) and the model's host.
#include "common/dpi.h"
#include "foldertree/tree_box.h"
#include "framework/win_defs.h"
#include "platform/hooks.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

using rg_Ombrine_MFCJieMian_base::rg_painter;

// The forwarders from the children's event slots to the tree box.
struct TreeBoxHandlers {
  static rg_TavelkinShuXingKuang* Self(CQzuObject* receiver) {
    return static_cast<rg_TavelkinShuXingKuang*>(receiver);
  }
  static intptr_t Resized(CQzuObject* r, CQzuObject*, intptr_t, int, int) { return Self(r)->OnTreeBoxResize(); }
  static intptr_t Shown(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->OnTreeBoxShown(); }
  static intptr_t Hidden(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->OnTreeBoxHidden(); }
  static intptr_t Destroyed(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->OnTreeBoxDestroyed(); }
  static intptr_t BarMoved(CQzuObject* r, CQzuObject* sender, intptr_t, int32_t position) {
    return Self(r)->OnTreeScrollBarMoved(sender, position);
  }
  static intptr_t DragEnded(CQzuObject* r, CQzuObject* sender, intptr_t) {
    return Self(r)->OnTreeScrollDragEnded(sender);
  }
  static intptr_t KeyDown(CQzuObject* r, CQzuObject*, intptr_t, int key, int flags) {
    return Self(r)->HandleTreeBoxKey(key, flags);
  }
  static intptr_t Wheel(CQzuObject* r, CQzuObject*, intptr_t, int delta, int, int, int) {
    return Self(r)->OnTreeBoxWheel(delta / qzu_win::kWheelDelta);
  }
  static intptr_t MouseMove(CQzuObject* r, CQzuObject* sender, intptr_t, int x, int y, int) {
    rg_TavelkinShuXingKuang* box = Self(r);
    return box->TrackTreeBoxHover(sender, box->ContentX(x), y);
  }
  static intptr_t LeftDown(CQzuObject* r, CQzuObject* sender, intptr_t, int x, int y, int) {
    rg_TavelkinShuXingKuang* box = Self(r);
    box->ToDisplay(sender, x, y);
    return box->HandleTreeBoxClick(kTreeLeftButton, box->ContentX(x), y);
  }
  static intptr_t LeftUp(CQzuObject* r, CQzuObject* sender, intptr_t, int x, int y, int) {
    rg_TavelkinShuXingKuang* box = Self(r);
    box->ToDisplay(sender, x, y);
    return box->OnTreeBoxLeftUp(y);
  }
  static intptr_t DoubleClick(CQzuObject* r, CQzuObject* sender, intptr_t, int x, int y, int) {
    rg_TavelkinShuXingKuang* box = Self(r);
    box->ToDisplay(sender, x, y);
    return box->HandleTreeBoxDoubleClick(box->ContentX(x));
  }
  static intptr_t RightDown(CQzuObject* r, CQzuObject* sender, intptr_t, int x, int y, int) {
    rg_TavelkinShuXingKuang* box = Self(r);
    if (sender != &box->m_display) return 0;
    return box->HandleTreeBoxClick(kTreeRightButton, box->ContentX(x), y);
  }
  static intptr_t FieldFocusLost(CQzuObject* r, CQzuObject* sender, intptr_t) {
    return Self(r)->CommitRowRename(sender);
  }
  static intptr_t FieldKeyDown(CQzuObject* r, CQzuObject* sender, intptr_t, int key, int) {
    // Enter commits; the field keeps every other key to itself.
    if (key == qzu_win::kVkReturn) Self(r)->CommitRowRename(sender);
    return 0;
  }
  static intptr_t Tick(CQzuObject* r, CQzuObject* sender, intptr_t) { return Self(r)->OnTreeBoxTimer(sender); }
};

void rg_TavelkinShuXingKuang::ToDisplay(CQzuObject* sender, int& x, int& y) const {
  // The strips sit elsewhere in the tree box; the display painter covers it
  // from (0, 0), so its coordinates are the tree box's.
  for (const rg_painter* strip : {&m_bottomStrip, &m_rightStrip}) {
    if (sender == strip) {
      x += strip->GetLeft();
      y += strip->GetTop();
    }
  }
}

void rg_TavelkinShuXingKuang::ConnectPainter(rg_painter& painter) {
  painter.OnKeyDown.Connect(&TreeBoxHandlers::KeyDown, m_receiver);
  painter.OnWheel.Connect(&TreeBoxHandlers::Wheel, m_receiver);
  painter.OnMouseMove.Connect(&TreeBoxHandlers::MouseMove, m_receiver);
  painter.OnLeftDown.Connect(&TreeBoxHandlers::LeftDown, m_receiver);
  painter.OnLeftUp.Connect(&TreeBoxHandlers::LeftUp, m_receiver);
  painter.OnDoubleClick.Connect(&TreeBoxHandlers::DoubleClick, m_receiver);
  painter.OnRightDown.Connect(&TreeBoxHandlers::RightDown, m_receiver);
}

void rg_TavelkinShuXingKuang::CreateChildren() {
  auto S = [](int v) { return ScaleByDpiFactor(v); };
  if (!GetWidget()->isWindow()) {
    // A thin sunken edge, and a tab stop.
    RemoveStyle(qzu_win::kWsBorder);
    SetExStyle((GetExStyle() & ~(qzu_win::kWsExClientEdge | qzu_win::kWsExStaticEdge | qzu_win::kWsExDlgModalFrame)) |
               qzu_win::kWsExStaticEdge);
    AddStyle(qzu_win::kWsTabStop);
    GetWidget()->setFocusPolicy(Qt::StrongFocus);
  }
  OnSize.Connect(&TreeBoxHandlers::Resized, m_receiver);
  AttachListener();
  OnShown.Connect(&TreeBoxHandlers::Shown, m_receiver);
  AttachListener();
  OnHidden.Connect(&TreeBoxHandlers::Hidden, m_receiver);
  AttachListener();
  OnDestroyed.Connect(&TreeBoxHandlers::Destroyed, m_receiver);
  AttachListener();

  const struct {
    rg_TavelkinGunDongTiao1& bar;
    int id, x, y, width, height, orientation;
  } bars[] = {{m_verticalBar, kTreeVerticalBarId, 456, 16, 16, 320, 1},
              {m_horizontalBar, kTreeHorizontalBarId, 0, 312, 400, 16, 0}};
  for (const auto& b : bars) {
    b.bar.OnPositionChanged.Connect(&TreeBoxHandlers::BarMoved, m_receiver);
    b.bar.OnDragEnded.Connect(&TreeBoxHandlers::DragEnded, m_receiver);
    // Keys reach a bar's window or its display painter, whichever has the
    // focus.
    b.bar.OnKeyDown.Connect(&TreeBoxHandlers::KeyDown, m_receiver);
    b.bar.Display().OnKeyDown.Connect(&TreeBoxHandlers::KeyDown, m_receiver);
    b.bar.SetVisible(false);
    b.bar.AddStyle(qzu_win::kWsTabStop);
    b.bar.orientation = b.orientation;
    b.bar.Create(this, S(b.x), S(b.y), S(b.width), S(b.height), b.id);
    b.bar.MeasureScrollBar();
    b.bar.RedrawScrollBar(kScrollBarNoPart, 0, kScrollBarQueued);
  }

  const struct {
    rg_painter& strip;
    int id, x, y, width, height;
  } strips[] = {{m_bottomStrip, kTreeBottomStripId, 23, 311, 416, 16},
                {m_rightStrip, kTreeRightStripId, 439, 23, 16, 320}};
  for (const auto& s : strips) {
    ConnectPainter(s.strip);
    s.strip.SetVisible(false);
    s.strip.SetBackColour(0xFFFFFF);
    s.strip.Create(this, S(s.x), S(s.y), S(s.width), S(s.height), s.id);
  }

  m_renameField.OnFocusLost.Connect(&TreeBoxHandlers::FieldFocusLost, m_receiver);
  m_renameField.OnKeyDown.Connect(&TreeBoxHandlers::FieldKeyDown, m_receiver);
  m_renameField.SetVisible(false);
  m_renameField.Create(this, S(-221), S(-285), S(80), S(24), kTreeRenameFieldId);

  for (rg_painter* p : {&m_canvas, &m_display}) {
    ConnectPainter(*p);
    p->SetBuffered(true);
    p->SetBackColour(0xFFFFFF);
    p->SetFontText(kTreeChildFont);
    p->SetTextColour(0);
  }
  m_canvas.SetVisible(false);
  m_canvas.Create(this, S(249), 0, S(166), S(237), kTreeCanvasId);
  m_display.SetVisible(true);
  m_display.AddStyle(qzu_win::kWsTabStop);
  m_display.Create(this, 0, 0, S(226), S(238), kTreeDisplayId);

  m_renameTimer.OnTick.Connect(&TreeBoxHandlers::Tick, m_receiver);
  m_settleTimer.OnTick.Connect(&TreeBoxHandlers::Tick, m_receiver);
  m_renameTimer.Create(this, S(172), S(262), S(21), S(21), kTreeRenameTimerId);
  m_settleTimer.Create(this, S(294), S(262), S(21), S(21), kTreeSettleTimerId);

  // Qt draws the last-made sibling on top: the strips, the bars over them
  // and the rename field must stay above the display painter.
  for (CQzuWinControl* c : std::initializer_list<CQzuWinControl*>{&m_bottomStrip, &m_rightStrip, &m_horizontalBar,
                                                                  &m_verticalBar, &m_renameField})
    if (QWidget* w = c->GetWidget()) w->raise();
}

// ---- container handlers ----

int rg_TavelkinShuXingKuang::OnTreeBoxResize() {
  const int width = GetClientWidth(), height = GetClientHeight();
  if (width <= 0 || height <= 0) return 0;
  // Both painters cover the client area: the canvas is as large as what
  // shows, whatever the content's width.
  m_canvas.Move(0, 0, width, height);
  m_display.Move(0, 0, width, height);
  GetAsyncKeyState(qzu_win::kVkLButton);
  if ((GetAsyncKeyState(qzu_win::kVkLButton) & 0x8000) == 0) {
    PaintTreeBox(-1);
  } else if (m_settleTimer.GetInterval() == 0) {
    // A window edge is being dragged: paint once it is let go.
    m_settleTimer.SetTimer(kTreeTimerEventId, kSettleMilliseconds);
  }
  return 0;
}

int rg_TavelkinShuXingKuang::OnTreeBoxShown() {
  shown = 1;
  PaintTreeBox(-1);
  return 0;
}

int rg_TavelkinShuXingKuang::OnTreeBoxHidden() {
  shown = 0;
  Raise(OnTreeHidden);
  return 0;
}

int rg_TavelkinShuXingKuang::OnTreeBoxDestroyed() {
  if (threadPool.GetTargetCount() != 0) threadPool.SetPoolThreadCount(0);
  return 0;
}

int rg_TavelkinShuXingKuang::OnTreeBoxTimer(CQzuObject* sender) {
  if (sender == &m_settleTimer) {
    GetAsyncKeyState(qzu_win::kVkLButton);
    if ((GetAsyncKeyState(qzu_win::kVkLButton) & 0x8000) == 0) {
      m_settleTimer.KillTimer();
      PaintTreeBox(-1);
    }
  } else if (sender == &m_renameTimer) {
    m_renameTimer.KillTimer();
    if (renamePending) {
      renamePending = 0;
      if (IsValidLine(lineUnderMouse)) BeginRowRename(m_model.SelectedRowValue(), lineUnderMouse);
    }
  }
  return 0;
}

int rg_TavelkinShuXingKuang::CollectDroppedFile(CQzuObject* sender, int count, int index, const CWString& path) {
  if (sender != &fileDrop) return 0;
  if (index == 0) droppedPaths.Empty();
  droppedPaths.Add(path);
  if (index + 1 == count) Raise(OnTreeFilesDropped, droppedPaths);
  return 0;
}

// ---- the model's host ----

void rg_TavelkinShuXingKuang::RepaintTreeBox() { PaintTreeBox(-1); }

intptr_t rg_TavelkinShuXingKuang::RaiseRowChosenEvent(int row, int action, int flag) {
  return Raise(OnRowChosen, row, action, flag);
}

void rg_TavelkinShuXingKuang::ScrollRowIntoView(int row) {
  const int lineStep = rowGap + rowHeight;
  int below = 0;
  if (horizontalScrollShown) below = m_horizontalBar.HasWindow() ? m_horizontalBar.GetHeight() + 1 : 1;
  const int fit = lineStep > 0 ? (GetClientHeight() - below) / lineStep : 0;
  for (int i = 0; i < fit && i < lineRows.GetCount(); ++i) {
    if (lineRows[static_cast<size_t>(i)] == row) {
      PaintTreeBox(-1);
      return;
    }
  }
  const int entry = m_model.FindVisibleRowEntry(row);
  // The row on the last line that fits.
  const int target = entry >= 0 ? (entry - 6 * fit + 6) / 6 + 1 : m_verticalBar.positionCount;
  const int position = m_verticalBar.GetScrollBarPosition();
  if (target >= 1 && target != position) {
    if (target > m_verticalBar.positionCount) PaintTreeBox(-1);
    m_verticalBar.SetScrollBarPosition(target);
  } else if (target < 1) {
    if (position != 1) m_verticalBar.SetScrollBarPosition(1);
    else PaintTreeBox(-1);
  } else if (target == 1) {
    PaintTreeBox(-1);
  } else {
    // The bar already stands where the row would be the last line, yet the
    // row was not drawn (its ancestors were just opened): paint from there.
    PaintTreeBox(m_model.GetVisibleRowAt(target));
  }
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
