// The tree box's paint, probed pixel by pixel on the display painter: expand
// boxes and check boxes (checked, third state, fixed) at DPI factors 1, 1.25,
// 1.5 and 2, tree lines, the selection, the disabled look, cut and cleaned
// texts with their tool-tips, the scroll bars' counts, and the viewport: a
// canvas as large as the window that, scrolled sideways, shows the same
// pixels as a window wide enough for the whole content.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "tree_box_test_util.h"

namespace {

using namespace qzu_test;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kNoHitX;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0;
constexpr COLORREF kExpandPen = 0xFF8080;
constexpr COLORREF kCheckPen = 0xFF0000;
constexpr COLORREF kMark = 0x0000FF;
constexpr COLORREF kLine = 0xC0C0C0;
constexpr COLORREF kSelection = 0xC06000;

// A (expanded) with B (checked) and C (third state, collapsed, with child
// D), then E (fixed check byte, no children): shown lines A, B, C, E.
void AddSampleRows(TreeBoxModel& m) {
  m.AppendTreeRow(u"甲目录", -1, 0, 2, 0);
  m.AppendTreeRow(u"乙", -1, 0, 0, 1);
  m.AppendTreeRow(u"丙目录", -1, 0, 0, 1);
  m.AppendTreeRow(u"丁", -1, 0, 0, 2);
  m.AppendTreeRow(u"戊", -1, 0, 0, 0);
  TreeRowLocator l;
  m.SetRowCheckState(1, 1, 0, l = {}, 1);
  m.SetRowCheckState(2, 2, 0, l = {}, 1);
  m.SetRowCheckState(4, 3, 0, l = {}, 1);
}

struct FactorCase {
  double factor;
  int boxSize;
  int inset;  // trunc(2 x factor)
};

class TreeBoxPaintAtFactor : public ::testing::TestWithParam<FactorCase> {};

}  // namespace

TEST_P(TreeBoxPaintAtFactor, BoxesMarksAndLinesAtTheirSizes) {
  const FactorCase c = GetParam();
  ShownTree t(320, 240, c.factor);
  t.box.checkBoxes = 1;
  AddSampleRows(t.Model());
  t.Create(320, 240);
  const int s = c.boxSize, d = c.inset;
  ASSERT_EQ(t.box.boxSize, s);
  ASSERT_GE(t.box.rowHeight, s);
  ASSERT_EQ(t.box.lineRows.Items(), (std::vector<int32_t>{0, 1, 2, 4}));

  // A's box, expanded: a minus. Its frame runs from +2 to +s-3.
  const int ax = t.RowX(0), ay = t.BoxY(0), mid = (s - 4) / 2 + 2;
  EXPECT_EQ(t.box.lineExpandX[0], ax);
  EXPECT_EQ(t.Pixel(ax + 2, ay + 2), kExpandPen);
  EXPECT_EQ(t.Pixel(ax + s - 3, ay + s - 3), kExpandPen);
  EXPECT_EQ(t.Pixel(ax + s - 2, ay + mid), kWhite);
  EXPECT_EQ(t.Pixel(ax + 3, ay + 3), kWhite);
  EXPECT_EQ(t.Pixel(ax + 4, ay + mid), kBlack);
  EXPECT_EQ(t.Pixel(ax + s - 5, ay + mid), kBlack);
  EXPECT_EQ(t.Pixel(ax + s - 4, ay + mid), kWhite);  // a line leaves out its end
  EXPECT_EQ(t.Pixel(ax + mid, ay + 4), kWhite);  // no vertical bar
  // C's box, collapsed: a plus.
  const int cx = t.RowX(1), cy = t.BoxY(2);
  EXPECT_EQ(t.box.lineExpandX[2], cx);
  EXPECT_EQ(t.Pixel(cx + mid, cy + 4), kBlack);
  EXPECT_EQ(t.Pixel(cx + mid, cy + s - 5), kBlack);
  // B has no children: no expand box.
  EXPECT_EQ(t.box.lineExpandX[1], kNoHitX);

  // B's check box, checked: a blue frame, a white ring, a red square.
  const int gap = static_cast<int>(0.8 * t.box.margin);
  const int bx = t.RowX(1) + s + gap, by = t.BoxY(1);
  EXPECT_EQ(t.box.lineCheckX[1], bx);
  EXPECT_EQ(t.Pixel(bx, by), kCheckPen);
  EXPECT_EQ(t.Pixel(bx + s - 1, by + s - 1), kCheckPen);
  EXPECT_EQ(t.Pixel(bx + s, by + s / 2), kWhite);
  EXPECT_EQ(t.Pixel(bx + d, by + d), kWhite);
  EXPECT_EQ(t.Pixel(bx + d + 1, by + d + 1), kMark);
  EXPECT_EQ(t.Pixel(bx + s - d - 2, by + s - d - 2), kMark);
  // C's third state: the lower left triangle only.
  const int tx = t.RowX(1) + s + gap, ty = t.BoxY(2);
  EXPECT_EQ(t.Pixel(tx + d + 2, ty + s - d - 3), kMark);
  EXPECT_EQ(t.Pixel(tx + s - d - 2, ty + d + 1), kWhite);
  EXPECT_EQ(t.Pixel(tx, ty), kCheckPen);
  // A unchecked: an empty box. E fixed: no box at all.
  const int ex = t.RowX(0) + s + gap;
  EXPECT_EQ(t.Pixel(ex + s / 2, t.BoxY(0) + s / 2), kWhite);
  EXPECT_EQ(t.Pixel(ex, t.BoxY(0)), kCheckPen);
  EXPECT_EQ(t.box.lineCheckX[3], kNoHitX);
  EXPECT_EQ(t.Pixel(ex, t.BoxY(3)), kWhite);

  // Tree lines: B and C are siblings, joined at x = their row x - margin;
  // B, without an expand box, gets a stub as long as the box.
  const int lx = t.RowX(1) - t.box.margin;
  const int midB = t.LineY(1) + t.box.rowHeight / 2, midC = t.LineY(2) + t.box.rowHeight / 2;
  EXPECT_EQ(t.Pixel(lx, midB + 1), kLine);
  EXPECT_EQ(t.Pixel(lx, midC - 1), kLine);
  EXPECT_EQ(t.Pixel(lx + 1, midB), kLine);
  EXPECT_EQ(t.Pixel(t.RowX(1) + s - 1, midB), kLine);
  EXPECT_EQ(t.Pixel(lx, t.LineY(3) + t.box.rowHeight / 2), kWhite);  // E is a root row: no line
}

INSTANTIATE_TEST_SUITE_P(Factors, TreeBoxPaintAtFactor,
                         ::testing::Values(FactorCase{1.0, 15, 2}, FactorCase{1.25, 19, 2}, FactorCase{1.5, 23, 3},
                                           FactorCase{2.0, 31, 4}),
                         [](const auto& info) { return "Factor" + std::to_string(static_cast<int>(info.param.factor * 100)); });

TEST(TreeBoxPaint, TheSelectionAndTheDisabledLook) {
  ShownTree t(320, 240);
  AddSampleRows(t.Model());
  t.Create(320, 240);
  t.Model().SetSelectedRowValue(1);
  t.box.PaintTreeBox(-1);
  const int start = t.box.lineTextStart[1];
  const int y = t.LineY(1);
  // The fill reaches 2 pixels left of the text, behind a frame in the
  // background colour; other rows stay white.
  EXPECT_EQ(t.Pixel(start - 2, y + 1), kWhite);
  EXPECT_EQ(t.Pixel(start - 1, y + 1), kSelection);
  EXPECT_EQ(t.Pixel(t.box.lineTextEnd[1] + 1, y + 1), kWhite);
  EXPECT_EQ(t.Pixel(t.box.lineTextEnd[1], y + 1), kSelection);
  EXPECT_EQ(t.Pixel(t.box.lineTextStart[0] - 1, t.LineY(0) + 1), kWhite);

  // Full-row selection fills the line and makes it the row's hit range.
  t.box.fullRowSelection = 1;
  t.box.PaintTreeBox(-1);
  EXPECT_EQ(t.box.lineTextStart[1], 0);
  EXPECT_GE(t.box.lineTextEnd[1], t.box.GetClientWidth() - 1);
  EXPECT_EQ(t.Pixel(2, y + 1), kSelection);
  EXPECT_EQ(t.Pixel(250, y + 1), kSelection);
  t.box.fullRowSelection = 0;

  // Disabled: grey background, no highlight, grey text.
  t.box.disabled = 1;
  t.box.PaintTreeBox(-1);
  EXPECT_EQ(t.Pixel(start - 1, y + 1), 0xECECECu);
  EXPECT_EQ(t.Pixel(250, 200), 0xECECECu);
  bool grey = false, blue = false;
  for (int x = t.box.lineTextStart[1]; x < t.box.lineTextEnd[1]; ++x)
    for (int yy = y; yy < y + t.box.rowHeight; ++yy) {
      grey |= t.Pixel(x, yy) == 0x808080u;
      blue |= t.Pixel(x, yy) == kSelection;
    }
  EXPECT_TRUE(grey);
  EXPECT_FALSE(blue);
}

// A text of 1001 characters is drawn as 1000 and "..", and its tool-tip,
// shown because it is cut at the edge, holds the first 1000; line breaks are
// dropped from what is drawn.
TEST(TreeBoxPaint, LongTextsAreCutAndLineBreaksDropped) {
  ShownTree t(300, 200);
  std::u16string longText(1001, u'字');
  longText[999] = u'末';
  longText[1000] = u'尾';
  t.Model().AppendTreeRow(CWString(longText), -1, 0, 0, 0);
  t.Model().AppendTreeRow(u"ab\r\ncd", -1, 0, 0, 0);
  t.Model().AppendTreeRow(u"abcd", -1, 0, 0, 0);
  t.Create(300, 200);
  ASSERT_EQ(t.box.lineRows.GetCount(), 3);
  const CWString tip = t.box.lineToolTips.Get(0);
  EXPECT_EQ(tip.Length(), 1000);
  EXPECT_EQ(tip[999], u'末');
  // The measured text is the cut one: 1000 characters and "..".
  CQzuDC& dc = t.box.Canvas().GetDC();
  dc.SetFontText(u"微软雅黑, 11, 0, 0, 0, 0, 0");
  const int cut = dc.GetTextExtent(CWString(longText.substr(0, 1000)) + u"..").width();
  EXPECT_EQ(t.box.lineTextEnd[0] - t.box.lineTextStart[0], cut);
  EXPECT_EQ(t.box.lineTextEnd[1] - t.box.lineTextStart[1], t.box.lineTextEnd[2] - t.box.lineTextStart[2]);
  EXPECT_EQ(t.box.lineToolTips.Get(1), u"");  // fits: no tip
}

// The vertical bar: shown with its count when rows do not fit, hidden at
// position 1 when they do (repainting from row 0 when scrolled).
TEST(TreeBoxPaint, TheVerticalBarCountsTheRowsThatDoNotFit) {
  ShownTree t(300, 200);
  t.Model().AppendTreeRow(u"根", -1, 0, 2, 0);
  for (int i = 1; i < 40; ++i) t.Model().AppendTreeRow(CWString(u"行") + CWString::FromInt(i), -1, 0, 0, 1);
  t.Create(300, 200);
  const int fit = t.box.rowsThatFit;
  ASSERT_GT(fit, 3);
  EXPECT_EQ(fit, (t.box.GetClientHeight() + t.box.rowGap + t.box.rowHeight - 1) / (t.box.rowGap + t.box.rowHeight));
  EXPECT_EQ(t.box.verticalScrollShown, 1);
  EXPECT_TRUE(t.box.VerticalBar().IsVisible());
  EXPECT_EQ(t.box.VerticalBar().positionCount, 40 - fit + 2);
  EXPECT_EQ(t.box.VerticalBar().contentSize, 40);
  EXPECT_EQ(t.box.VerticalBar().GetLeft(), t.box.GetClientWidth() - t.box.VerticalBar().GetWidth() - 1);
  EXPECT_EQ(t.box.horizontalScrollShown, 0);

  t.box.VerticalBar().SetScrollBarPosition(10);
  ASSERT_TRUE(qzu_test::PumpUntil([&] { return t.box.firstVisibleRow == 9; }));
  EXPECT_EQ(t.box.lineRows[0], 9);

  // Collapsing the root leaves one line: it fits, and the tree goes back to
  // the top.
  TreeRowLocator l;
  t.Model().SetRowExpandState(0, 0, 0, l);
  EXPECT_EQ(t.box.verticalScrollShown, 0);
  EXPECT_FALSE(t.box.VerticalBar().IsVisible());
  EXPECT_EQ(t.box.firstVisibleRow, 0);
  EXPECT_EQ(t.box.VerticalBar().GetScrollBarPosition(), 1);
  EXPECT_EQ(t.box.lineRows.Items(), (std::vector<int32_t>{0}));
}

// The viewport: a row far wider than the window costs a canvas of the
// window's size, and scrolled sideways the window shows exactly the pixels
// a window wide enough for everything shows at the same place.
TEST(TreeBoxPaint, AWideRowIsShownThroughTheScrollOffsetWithTheSamePixels) {
  ShownTree narrow(300, 200);
  ShownTree wide(1700, 200);
  for (ShownTree* t : {&narrow, &wide}) {
    t->box.checkBoxes = 1;
    t->box.leftOffset = 1200;
    AddSampleRows(t->Model());
    t->Model().AppendTreeRow(u"一个很长很长很长的目录名称", -1, 0, 0, 0);
  }
  narrow.Create(300, 200);
  wide.Create(1700, 200);
  ASSERT_EQ(wide.box.horizontalScrollShown, 0);
  ASSERT_EQ(narrow.box.horizontalScrollShown, 1);
  EXPECT_GT(narrow.box.contentWidth, 1300);
  EXPECT_LT(narrow.box.contentWidth, 1700);
  // Both painters stay as large as the window.
  EXPECT_EQ(narrow.box.Canvas().GetDC().Width(), 300);
  EXPECT_EQ(narrow.box.Display().GetDC().Width(), 300);
  EXPECT_EQ(narrow.box.Display().GetDC().Height(), 200);

  const int textHeight = narrow.box.textHeight;
  const int count = narrow.box.HorizontalBar().positionCount;
  ASSERT_GT(count, 2);
  for (int position : {count - 1, count}) {
    narrow.box.HorizontalBar().SetScrollBarPosition(position);
    qzu_test::PumpUntil([&] { return narrow.box.HorizontalBar().lastReportedPosition == position; });
    const int offset = position == count ? 300 - narrow.box.contentWidth : (1 - position) * textHeight;
    ASSERT_EQ(narrow.box.canvasX, offset) << position;
    // Everything above the horizontal bar, column by column.
    int differ = 0;
    for (int x = 0; x < 300; x += 1)
      for (int y = 0; y < narrow.box.HorizontalBar().GetTop() - 1; ++y)
        differ += narrow.Pixel(x, y) != wide.Pixel(x - offset, y);
    EXPECT_EQ(differ, 0) << position;
  }
  // The last characters are on screen at the last position: ink near the
  // right edge.
  bool ink = false;
  const int y = narrow.LineY(4);
  for (int x = 250; x < 300; ++x)
    for (int yy = y; yy < y + narrow.box.rowHeight; ++yy) ink |= narrow.Pixel(x, yy) != kWhite;
  EXPECT_TRUE(ink);
}

// Rows removed while the tree is scrolled to its end: the vertical bar's
// count shrinks during the paint, the bar clamps its position and reports
// it, and the paint that was running starts over from the row the bar now
// stands for (a report during a paint is applied, not dropped, so the tree
// is not left scrolled past its last row).
TEST(TreeBoxPaint, AScrollReportedDuringAPaintIsApplied) {
  ShownTree t(300, 220);
  TreeBoxModel& m = t.Model();
  m.AppendTreeRow(u"根", -1, 0, 2, 0);
  for (int i = 1; i < 40; ++i) m.AppendTreeRow(CWString(u"子") + CWString::FromInt(i), -1, 0, 0, 1);
  t.Create(300, 220);
  const int fit = t.box.rowsThatFit;
  const int count = 40 - fit + 2;
  ASSERT_EQ(t.box.VerticalBar().positionCount, count);
  t.box.VerticalBar().SetScrollBarPosition(count);
  ASSERT_TRUE(qzu_test::PumpUntil([&] { return t.box.firstVisibleRow == count - 1; }));

  CQzuMem batch;
  for (int i = 1; i < 30; ++i) m.AppendRowRecord(batch, CWString(u"新") + CWString::FromInt(i), -1, -1, 1);
  TreeRowLocator l;
  ASSERT_EQ(m.ReplaceRowChildren(0, rg_TavelkinMingLingJi_ChuangKouZuJian::kReplaceChildren, batch, 29, l), 39);
  const int shorter = 30 - fit + 2;
  EXPECT_EQ(t.box.VerticalBar().positionCount, shorter);
  EXPECT_EQ(t.box.VerticalBar().GetScrollBarPosition(), shorter);
  EXPECT_EQ(t.box.firstVisibleRow, shorter - 1);
  ASSERT_FALSE(t.box.lineRows.IsEmpty());
  EXPECT_EQ(t.box.lineRows[t.box.lineRows.size() - 1], 29);
}
