// rg_TavelkinShuXingKuang: painting. One pass lays out the lines that fit,
// draws them on the canvas painter, records the hit tables, sizes the scroll
// bars and copies the picture to the display painter.
//
// The canvas is as large as the tree box's client area. Rows are laid out in
// content coordinates (x from the content's left edge) and drawn at
// x + canvasX, the horizontal scroll offset; so a row 20,000 pixels wide
// costs no more memory than a short one, and what shows on screen is the
// part of the content the scroll offset selects.
#include <QFont>

#include <algorithm>
#include <vector>

#include "common/dpi.h"
#include "foldertree/tree_box.h"
#include "framework/bitmap_object.h"
#include "framework/font_text.h"
#include "services/font_description.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

namespace {

// The integer nearest to a / 2, halves away from zero.
int NearestHalf(int a) { return a >= 0 ? (a + 1) / 2 : -((1 - a) / 2); }

// The text as a line shows it: at most 1000 characters (then ".."), without
// line breaks.
CWString DrawnRowText(const CWString& text) {
  CWString drawn = text.Length() > kMaxDrawnTextLength ? text.Left(kMaxDrawnTextLength) + u".." : text;
  drawn.Replace(u"\n", u"");
  drawn.Replace(u"\r", u"");
  return drawn;
}

// The side of the expand and check boxes: 15 logical pixels, made odd.
int BoxSizeForDpi() {
  const int size = ScaleForDpi(15);
  return size % 2 == 0 ? size + 1 : size;
}

}  // namespace

CWString rg_TavelkinShuXingKuang::TreeFontText(bool bold, bool underline) const {
  rg_Tavelkin_MingLingJi::rg_TavelkinZiTiLei1 font;
  font.ParseFontText(fontFace + u", " + CWString::FromInt(fontSize) + u", 0, 0, 0, 0, 0");
  font.bold = bold ? 1 : 0;
  font.underline = underline ? 1 : 0;
  return font.FormatFontText();
}

int rg_TavelkinShuXingKuang::StartTreeIndexWorkers() {
  const int threads = threadPool.GetRunningCount();
  if (poolMode && threads == 0) threadPool.SetPoolThreadCount(4);
  else if (!poolMode && threads > 0) threadPool.SetPoolThreadCount(0);
  const bool onPool = poolMode && threadPool.GetTargetCount() > 0;
  for (int job : m_workers.Request()) {
    if (onPool) threadPool.AddPoolTask(job, 0, 0, CWString(), CWString(), CWString());
    else m_workers.LaunchThread(job);
  }
  return 1;
}

int rg_TavelkinShuXingKuang::RunTreeIndexJob(CQzuObject* sender, int job) {
  if (sender == &threadPool) m_workers.RunJob(job);
  return 0;
}

void rg_TavelkinShuXingKuang::PaintTreeBox(int firstRow) {
  if (!m_model.GetRedrawEnabled() || !shown) return;
  if (!paintGuard.TryEnterOnce()) {
    // The running paint starts over; it takes the row asked for with it.
    if (firstRow >= 0) m_deferredFirstRow = firstRow;
    return;
  }
  int argument = firstRow;
  for (;;) {
    const PaintStep step = PaintPass(argument);
    ++m_paintCount;
    argument = -1;
    if (step == PaintStep::kStartOverAtTop) {
      argument = 0;
      continue;
    }
    if (step == PaintStep::kDone && paintGuard.EndRunUnlessAsked()) break;
    if (step == PaintStep::kStartOver) paintGuard.TakeRunAgain();
    if (m_deferredFirstRow >= 0) {
      argument = m_deferredFirstRow;
      m_deferredFirstRow = -1;
    }
  }
}

rg_TavelkinShuXingKuang::PaintStep rg_TavelkinShuXingKuang::PaintPass(int firstRow) {
  StartTreeIndexWorkers();
  CQzuDC& dc = m_canvas.GetDC();
  const COLORREF canvasBack = disabled ? kTreeDisabledBackground : backgroundColour;
  if (defaultTextBackground == kUseDefaultColour) defaultTextBackground = canvasBack;
  if (firstRow >= 0) {
    if (firstRow != firstVisibleRow) firstRowLocator.Empty();
    firstVisibleRow = firstRow;
  }
  boxSize = BoxSizeForDpi();

  const CWString treeFont = TreeFontText(false, false);
  if (treeFont != m_canvasFontText) {
    m_canvasFontText = treeFont;
    m_canvas.SetFontText(treeFont);
  }
  dc.SetFontText(treeFont);
  // The four fonts a row can have, made once per pass.
  QFont fonts[2][2];
  for (int bold = 0; bold < 2; ++bold)
    for (int underline = 0; underline < 2; ++underline)
      fonts[bold][underline] = QFontFromDescription(TreeFontText(bold != 0, underline != 0));

  textHeight = dc.GetTextExtent(u"A").height();
  rowHeight = customRowHeight >= 1 ? ScaleForDpi(customRowHeight) : textHeight;
  rowHeight = std::max({rowHeight, boxSize, textHeight, iconSize});
  expandBoxWidth = boxSize;
  checkBoxWidth = checkBoxes ? boxSize : 0;
  const int lineStep = rowGap + rowHeight;
  const int clientWidth = GetClientWidth();
  const int clientHeight = GetClientHeight();
  rowsThatFit = HasWindow() && lineStep > 0 ? (clientHeight + lineStep - 1) / lineStep : 0;

  dc.Clear(canvasBack);
  for (TreeRowLocator* table : {&lineRows, &lineExpandX, &lineCheckX, &lineTextStart, &lineTextEnd}) table->Empty();
  lineToolTips.Clear();

  if (!m_model.IsVisibleRowListCurrent()) {
    TreeRowLocator none;
    CQzuMem unused;
    m_model.BuildVisibleRowList(-1, none, unused);
    firstRowLocator.Empty();
  }
  if (m_firstRowGeneration != m_model.GetGeneration()) {
    firstRowLocator.Empty();
    m_firstRowGeneration = m_model.GetGeneration();
  }

  dc.SetPen(0, 1, kPsSolid);
  int width = 0;
  const int cx = canvasX;
  const int eighty = expandBoxWidth ? static_cast<int>(0.8 * margin) : 0;
  const int selected = m_model.SelectedRowValue();
  std::vector<int> levels, xs, mids, rights, lefts;
  std::vector<bool> expandBoxes;
  std::vector<CWString> texts;
  std::vector<TreeRowLocator> locators;

  // Row r on line i; `locator` describes row r - 1 (or the last row of the
  // subtree skipped before r) while the walk goes on.
  int r = firstVisibleRow;
  TreeRowLocator locator;
  for (int i = 0; i < rowsThatFit; ++i) {
    if (paintGuard.runAgain.load()) return PaintStep::kStartOver;
    const int y = i * lineStep + margin;
    if (i == 0 && firstRowLocator.size() >= 2) {
      locator = firstRowLocator;
    } else {
      TreeRowLocator previous = locator;
      if (!m_model.FindRowRecord(r, previous, r - 1)) break;
      locator = previous;
      if (i == 0) firstRowLocator = locator;
    }
    lineRows.Add(r);

    if (fullRowSelection && r == selected && !disabled) {
      dc.SetBrush(kTreeSelectionFill);
      dc.SetPen(canvasBack);
      const int wide = std::max(contentWidth, clientWidth);
      dc.Rectangle({cx, y - rowGap / 2, wide + cx, y + rowHeight + rowGap / 2});
    }

    const CWString text = DrawnRowText(m_model.GetRowText(r, locator));
    const int expandByte = m_model.GetRowExpandState(r, locator);
    const int level = m_model.GetRowLevel(r, locator);
    const int x = leftOffset + margin + level * (boxSize + margin);
    const bool bold = expandByte == 1 || expandByte == 3;
    const bool underline = r == hoverRow && r != selected && hoverUnderline;
    dc.SetFont(fonts[bold][underline]);
    const int t = x + expandBoxWidth + eighty + checkBoxWidth + (checkBoxWidth ? margin : 0) + iconSize +
                  (iconSize ? margin : 0);
    const int right = t + dc.GetTextExtent(text).width();
    width = std::max(width, right + margin);

    const bool hasBox = expandBoxWidth > 0 && m_model.HasChildRows(r, locator);
    if (hasBox) {
      DrawExpandBox(x + cx, y + NearestHalf(rowHeight - boxSize), expandBoxWidth, expandByte);
      lineExpandX.Add(x);
    } else {
      lineExpandX.Add(kNoHitX);
    }
    if (checkBoxWidth >= 1) {
      const int check = m_model.GetRowCheckState(r, locator);
      const int checkX = x + expandBoxWidth + eighty;
      const int drew = DrawCheckBox(checkX + cx, y + NearestHalf(rowHeight - boxSize), boxSize, check);
      lineCheckX.Add(drew ? checkX : kNoHitX);
    } else {
      lineCheckX.Add(kNoHitX);
    }
    if (iconSize > 0) {
      int icon = m_model.GetRowIcon(r, locator);
      if (r == selected) {
        const int selectedIcon = m_model.GetRowSelectedIcon(r, locator);
        if (selectedIcon != -1) icon = selectedIcon;
      }
      DrawRowIcon(t - iconSize - margin + cx, y + NearestHalf(rowHeight - iconSize), icon);
    }
    if (fullRowSelection) {
      lineTextStart.Add(0);
      lineTextEnd.Add(std::max(contentWidth, clientWidth));
    } else {
      lineTextStart.Add(t - (iconSize ? margin : 0) - iconSize);
      lineTextEnd.Add(right);
    }

    if (disabled) {
      dc.SetTextColour(kTreeDisabledText);
      dc.SetBkMode(kBkTransparent);
    } else if (r == selected) {
      if (!fullRowSelection) {
        dc.SetBrush(kTreeSelectionFill);
        dc.SetPen(canvasBack);
        dc.Rectangle({t - 2 + cx, y - rowGap / 2, right + 2 + cx, y + rowHeight + rowGap / 2});
      }
      dc.SetTextColour(kTreeSelectionText);
      dc.SetBkColour(kTreeSelectionFill);
      dc.SetBkMode(kBkOpaque);
    } else {
      const int32_t ownText = m_model.GetShortHeaderMode() ? -1 : m_model.GetRowTextColour(r, locator);
      const int32_t ownBack = m_model.GetShortHeaderMode() ? -1 : m_model.GetRowBackgroundColour(r, locator);
      dc.SetTextColour(ownText == -1 ? defaultTextColour : static_cast<COLORREF>(ownText));
      dc.SetBkColour(ownBack == -1 ? defaultTextBackground : static_cast<COLORREF>(ownBack));
      dc.SetBkMode(kBkOpaque);
    }
    dc.TextOut(t + cx, y + NearestHalf(rowHeight - textHeight), text);

    levels.push_back(level);
    xs.push_back(x);
    mids.push_back(y + rowHeight / 2);
    expandBoxes.push_back(hasBox);
    lefts.push_back(t);
    rights.push_back(right);
    texts.push_back(text);
    locators.push_back(locator);

    // The next line's row: a collapsed row's subtree is skipped whole, and
    // the walk goes on as if its last row had just been found.
    if (!IsExpandedByte(static_cast<uint8_t>(expandByte))) {
      TreeRowLocator subtree;
      const int rows = m_model.CountSubtreeRows(r, locator, subtree, 1);
      if (rows > 1) {
        const int32_t rowLevel = locator[2];
        locator.Empty();
        locator.Add(subtree[0]);
        locator.Add(subtree[1]);
        locator.Add(rowLevel);
        r += rows;
        continue;
      }
    }
    r += 1;
  }

  if (treeLines && !lineRows.IsEmpty()) {
    bool abandoned = false;
    const TreeLineLayout layout{levels, xs, mids, expandBoxes, locators};
    DrawTreeLines(layout, abandoned);
    if (abandoned) return PaintStep::kStartOver;
  }

  const int visibleRows = m_model.GetVisibleRowCount();
  verticalScrollShown = visibleRows >= rowsThatFit ? 1 : 0;
  const int verticalWidth = m_verticalBar.GetWidth();
  const int besideBar = verticalScrollShown ? verticalWidth + 1 : 0;
  contentWidth = std::min(std::max(width, clientWidth - besideBar), kMaxContentWidth);

  const int outerRight = GetWidth() - (verticalScrollShown ? verticalWidth : 0);
  for (size_t j = 0; j < texts.size(); ++j) {
    if (rights[j] + cx > outerRight || lefts[j] < -cx)
      lineToolTips.entries[static_cast<int32_t>(j)] = texts[j].Left(kMaxDrawnTextLength);
    else
      lineToolTips.entries[static_cast<int32_t>(j)] = CWString();
  }
  if (paintGuard.runAgain.load()) return PaintStep::kStartOver;

  horizontalScrollShown = !noHorizontalScroll && contentWidth > clientWidth - besideBar && !m_verticalBar.dragging;
  PlaceScrollBars(clientWidth, clientHeight);

  if (horizontalScrollShown) {
    const int overflow = contentWidth + besideBar - clientWidth;
    const int n = textHeight > 0 ? (overflow + textHeight - 1) / textHeight : 0;
    m_horizontalBar.SetScrollBarCount(n + 1);
  } else {
    m_horizontalBar.SetScrollBarPosition(1);
  }
  if (verticalScrollShown) {
    const int count = visibleRows - rowsThatFit + 2 + (horizontalScrollShown ? 1 : 0);
    if (count != m_verticalBar.positionCount) {
      keepAtEnd = horizontalScrollShown && m_verticalBar.GetScrollBarPosition() == m_verticalBar.positionCount;
      m_verticalBar.contentSize = visibleRows;
      m_verticalBar.SetScrollBarCount(count);
    }
  } else {
    m_verticalBar.SetScrollBarPosition(1);
    if (firstVisibleRow != 0) return PaintStep::kStartOverAtTop;
  }

  if (verticalScrollShown)
    m_rightStrip.Move(m_verticalBar.GetLeft(), m_verticalBar.GetTop(), verticalWidth + 1, clientHeight);
  if (horizontalScrollShown)
    m_bottomStrip.Move(m_horizontalBar.GetLeft(), m_horizontalBar.GetTop(), clientWidth,
                       m_horizontalBar.GetHeight() + 1);
  m_verticalBar.SetVisible(verticalScrollShown != 0);
  m_rightStrip.SetVisible(verticalScrollShown != 0);
  m_horizontalBar.SetVisible(horizontalScrollShown != 0);
  m_bottomStrip.SetVisible(horizontalScrollShown != 0);

  m_display.CopyCanvasFrom(m_canvas);
  return paintGuard.runAgain.load() ? PaintStep::kStartOver : PaintStep::kDone;
}

void rg_TavelkinShuXingKuang::PlaceScrollBars(int clientWidth, int clientHeight) {
  const int verticalWidth = m_verticalBar.GetWidth();
  const int horizontalHeight = m_horizontalBar.GetHeight();
  m_horizontalBar.Move(1, clientHeight - horizontalHeight - 1,
                       clientWidth - (verticalScrollShown ? verticalWidth : 0) - 2, horizontalHeight);
  m_verticalBar.Move(clientWidth - verticalWidth - 1, 1, verticalWidth,
                     clientHeight - (horizontalScrollShown ? horizontalHeight : 0) - 2);
}

void rg_TavelkinShuXingKuang::DrawTreeLines(const TreeLineLayout& layout, bool& abandoned) {
  const std::vector<int>& levels = layout.levels;
  const std::vector<int>& xs = layout.xs;
  const std::vector<int>& mids = layout.mids;
  const std::vector<bool>& expandBoxes = layout.expandBoxes;
  const int topRow = lineRows[0];
  const int bottomRow = lineRows[lineRows.size() - 1];
  CQzuDC& dc = m_canvas.GetDC();
  dc.SetPen(kTreeLineColour, 1, kPsSolid);
  const int cx = canvasX;
  const int height = dc.Height();
  auto line = [&](int x0, int y0, int x1, int y1) {
    dc.MoveTo(x0 + cx, y0);
    dc.LineTo(x1 + cx, y1);
  };
  auto stub = [&](size_t j) { line(xs[j] - margin, mids[j], xs[j] + (expandBoxes[j] ? 0 : boxSize), mids[j]); };
  const bool fifthIndex = m_model.IsFifthIndexReady() != 0;
  // The line last seen at each level, -1 when none.
  std::vector<int> remembered;
  int previousLevel = -1;
  for (size_t j = 0; j < levels.size(); ++j) {
    if (paintGuard.runAgain.load()) {
      abandoned = true;
      return;
    }
    const int level = levels[j];
    const int row = lineRows[j];
    if (static_cast<int>(remembered.size()) <= level) remembered.resize(static_cast<size_t>(level) + 1, -1);
    for (int k = level + 1; k <= previousLevel && k < static_cast<int>(remembered.size()); ++k) remembered[k] = -1;
    TreeRowLocator locator = layout.locators[j], sibling;
    if (level > 0 && remembered[level] >= 0) {
      const size_t k = static_cast<size_t>(remembered[level]);
      line(xs[k] - margin, mids[k], xs[j] - margin, mids[j]);
      stub(k);
      stub(j);
    } else if (level > 0) {
      // An earlier sibling above the top line: the line comes down from the
      // top edge.
      const bool fromAbove = fifthIndex ? m_model.GetFifthIndexEntry(row) > 0 : [&] {
        const int previous = m_model.FindPrevSiblingRow(row, locator, sibling);
        return previous >= 0 && previous < topRow;
      }();
      if (fromAbove) {
        line(xs[j] - margin, 0, xs[j] - margin, mids[j]);
        stub(j);
      }
    }
    remembered[level] = static_cast<int>(j);
    if (level > 0) {
      const int next = m_model.FindNextSiblingRow(row, locator, sibling);
      if (next >= 0 && next > bottomRow) {
        line(xs[j] - margin, mids[j], xs[j] - margin, height);
        stub(j);
      }
    }
    previousLevel = level;
  }
  // Ancestors of the top line whose next sibling lies below the last line
  // pass through the whole height.
  if (!levels.empty() && m_model.IsRowParentIndexReady() && m_model.IsRowSiblingIndexReady()) {
    TreeRowLocator locator = layout.locators[0];
    int row = topRow;
    for (;;) {
      TreeRowLocator parentLocator, sibling;
      const int parent = m_model.FindParentRow(row, locator, parentLocator);
      if (parent < 0) break;
      const int parentLevel = parentLocator.size() > 2 ? parentLocator[2] : -1;
      if (parentLevel >= 1) {
        TreeRowLocator own = parentLocator;
        const int next = m_model.FindNextSiblingRow(parent, own, sibling);
        if (next >= 0 && next > bottomRow) {
          const int x = parentLevel * (boxSize + margin);
          line(x, 0, x, height);
        }
      }
      row = parent;
      locator = parentLocator;
    }
  }
}

void rg_TavelkinShuXingKuang::DrawExpandBox(int x, int y, int size, int expandByte) {
  CQzuDC& dc = m_canvas.GetDC();
  dc.SetPen(kExpandBoxPen);
  dc.SetBrush(0xFFFFFF);
  dc.Rectangle({x + 2, y + 2, x + size - 2, y + size - 2});
  dc.SetPen(0);
  const int c = (size - 4) / 2 + 2;
  dc.MoveTo(x + 4, y + c);
  dc.LineTo(x + size - 4, y + c);
  if (!IsExpandedByte(static_cast<uint8_t>(expandByte))) {
    dc.MoveTo(x + c, y + 4);
    dc.LineTo(x + c, y + size - 4);
  }
}

int rg_TavelkinShuXingKuang::DrawCheckBox(int x, int y, int size, int checkByte) {
  const auto check = static_cast<uint8_t>(checkByte);
  if (check > 2) return 0;
  CQzuDC& dc = m_canvas.GetDC();
  const int d = ScaleForDpi(2);
  const COLORREF canvasBack = disabled ? kTreeDisabledBackground : backgroundColour;
  dc.SetPen(kCheckBoxPen);
  dc.SetBrush(0xFFFFFF);
  dc.Rectangle({x, y, x + size, y + size});
  if (check == 1) {
    dc.SetPen(canvasBack);
    dc.SetBrush(kCheckMarkFill);
    dc.Rectangle({x + d, y + d, x + size - d, y + size - d});
  } else if (check == 2) {
    dc.SetPen(canvasBack);
    dc.SetBrush(kCheckMarkFill);
    dc.Polygon({QPoint(x + d, y + d - 1), QPoint(x + d, y + size - d - 1), QPoint(x + size - d, y + size - d - 1)});
  }
  return 1;
}

void rg_TavelkinShuXingKuang::DrawRowIcon(int x, int y, int icon) {
  if (icon < 0 || icon >= imageList.GetCount()) return;
  auto* picture = dynamic_cast<rg_Ombrine_base::rg_WeiTuDuiXiangLei*>(imageList[static_cast<size_t>(icon)]);
  if (!picture || picture->IsEmpty()) return;
  const int w = picture->GetWidth(), h = picture->GetHeight();
  m_canvas.GetDC().DrawImage(x + (iconSize - w) / 2, y + (iconSize - h) / 2, picture->GetImage());
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
