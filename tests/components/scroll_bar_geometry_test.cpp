// The scroll bar's and the label's geometry as numbers: thumb length and
// step (also where there is no step), clamping, the position under the
// pointer, hit tests, box insets, grips; the label's marker, rules, caption
// and side line.
#include <gtest/gtest.h>

#include <vector>

#include "components/label_layout.h"
#include "components/scroll_bar_geometry.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;

TEST(ScrollBarGeometry, ThumbLengthAndStep) {
  struct Case {
    const char* name;
    int length, thickness, count, content, lineSize;
    double dpi;
    int thumb;
    double step;
  };
  const Case cases[] = {
      {"new bar: the thumb falls back to T", 200, 16, 100, 0, 5, 1.0, 16, 150.0 / 99},
      {"ten rows visible of fifty", 200, 16, 41, 50, 5, 1.0, 29, (166.0 - 29) / 40},
      {"line size scaled and truncated", 200, 16, 10, 0, 5, 1.5, 96, 70.0 / 9},
      {"content not above the count uses the line size", 200, 16, 10, 10, 5, 1.0, 116, 50.0 / 9},
      {"one position: no step", 200, 16, 1, 0, 5, 1.0, 161, 0.0},
      {"no positions: the thumb fills the track", 200, 16, 0, 0, 5, 1.0, 166, 0.0},
      {"negative count: still the track", 200, 16, -3, 0, 5, 1.0, 166, 0.0},
      {"thumb fills the track", 50, 16, 2, 0, 5, 1.0, 16, 0.0},
      {"track shorter than the thumb", 40, 16, 100, 0, 5, 1.0, 16, 0.0},
      {"no window yet", 0, 0, 100, 0, 5, 1.0, 0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ScrollBarThumbSize t = MeasureScrollBarThumb(c.length, c.thickness, c.count, c.content, c.lineSize, c.dpi);
    EXPECT_EQ(t.length, c.thumb);
    EXPECT_DOUBLE_EQ(t.step, c.step);
  }
  EXPECT_EQ(ScrollBarTrackLength(200, 16), 166);
}

TEST(ScrollBarGeometry, PositionsAreClampedIntoOneToCount) {
  struct Case {
    int position, count, clamped;
  };
  for (const Case& c : std::vector<Case>{{0, 100, 1}, {500, 100, 100}, {50, 100, 50}, {-7, 1, 1}, {5, 0, 1},
                                         {3, -2, 1}}) {
    EXPECT_EQ(ClampScrollBarPosition(c.position, c.count), c.clamped) << c.position << " of " << c.count;
  }
}

TEST(ScrollBarGeometry, ThumbOffsetRoundsHalvesAwayFromZero) {
  const double step = 150.0 / 99;
  EXPECT_EQ(ScrollBarThumbOffset(16, 1, step), 17);
  EXPECT_EQ(ScrollBarThumbOffset(16, 100, step), 167);  // the thumb ends at the end box
  EXPECT_EQ(ScrollBarThumbOffset(16, 2, step), 19);
  EXPECT_EQ(ScrollBarThumbOffset(16, 2, 0.5), 18);
  EXPECT_EQ(ScrollBarThumbOffset(16, 4, 0.5), 19);
  EXPECT_EQ(ScrollBarThumbOffset(16, 60, 0.0), 17);
}

TEST(ScrollBarGeometry, PositionsSpannedByADistance) {
  struct Case {
    int distance;
    double step;
    int positions;
  };
  const Case cases[] = {
      {3, 1.5, 2},                // whole quotient
      {4, 1.5, 3},                // rounded up
      {0, 1.5, 0},
      {-1, 1.5, 0},               // just before the thumb at position 1
      {150, 150.0 / 99, 99},      // whole despite floating noise
      {13, 150.0 / 99, 9},
      {0, 0.0, 0},                // no step: nothing divides by it
      {-2, 0.0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ScrollBarPositionsIn(c.distance, c.step), c.positions) << c.distance;
  // Without a step any distance is more than a bar can hold: the caller's
  // clamp takes it to the count.
  EXPECT_GE(ScrollBarPositionsIn(5, 0.0), 1 << 30);
  EXPECT_EQ(ClampScrollBarPosition(1 + ScrollBarPositionsIn(5, 0.0), 7), 7);
}

TEST(ScrollBarGeometry, WhatAPressHits) {
  // T = 16, L = 200, thumb at 46 and 16 long: its last pixel is 62.
  struct Case {
    int c;
    ScrollBarHit hit;
  };
  const Case cases[] = {
      {0, ScrollBarHit::kStartBox},         {15, ScrollBarHit::kStartBox},
      {16, ScrollBarHit::kTrackBeforeThumb}, {45, ScrollBarHit::kTrackBeforeThumb},
      {46, ScrollBarHit::kThumb},           {62, ScrollBarHit::kThumb},
      {63, ScrollBarHit::kTrackAfterThumb}, {184, ScrollBarHit::kTrackAfterThumb},
      {185, ScrollBarHit::kEndBox},          {199, ScrollBarHit::kEndBox},
  };
  for (const Case& c : cases) EXPECT_EQ(HitTestScrollBar(c.c, 16, 200, 46, 16), c.hit) << c.c;

  const double step = 150.0 / 99;
  EXPECT_EQ(ScrollBarTrackPressPosition(ScrollBarHit::kTrackBeforeThumb, 30, 16, 16, step), 9);
  EXPECT_EQ(ScrollBarTrackPressPosition(ScrollBarHit::kTrackAfterThumb, 100, 16, 16, step), 45);
  EXPECT_EQ(ScrollBarTrackPressPosition(ScrollBarHit::kTrackAfterThumb, 63, 16, 16, step), 20);
  // A bar without a step: after the thumb is the end, before it the start.
  EXPECT_EQ(ClampScrollBarPosition(ScrollBarTrackPressPosition(ScrollBarHit::kTrackAfterThumb, 40, 16, 16, 0.0), 5), 5);
  EXPECT_EQ(ClampScrollBarPosition(ScrollBarTrackPressPosition(ScrollBarHit::kTrackBeforeThumb, 16, 16, 16, 0.0), 5), 1);
}

TEST(ScrollBarGeometry, BoxInsetsRectanglesAndGrips) {
  EXPECT_EQ(ScrollBarBoxInsets(16, true), (std::vector<int>{2, 4, 6}));
  EXPECT_EQ(ScrollBarBoxInsets(16, false), (std::vector<int>{3}));
  EXPECT_EQ(ScrollBarBoxInsets(17, true), (std::vector<int>{2, 4, 6}));
  EXPECT_EQ(ScrollBarBoxInsets(8, true), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(ScrollBarBoxInsets(8, false), (std::vector<int>{1}));
  EXPECT_EQ(ScrollBarBoxInsets(0, true), (std::vector<int>{0, 0, 0}));

  struct Case {
    int x, y, w, h, inset;
    QzuRect rect;
  };
  const Case cases[] = {
      {0, 0, 16, -1, 3, {3, 3, 13, 13}},    // h = -1: a square
      {184, 0, 16, 16, 6, {190, 6, 194, 10}},
      {0, 0, 4, 4, 3, {1, 1, 3, 3}},        // corners put in order
      {0, 20, 16, 30, 0, {0, 20, 16, 50}},
  };
  for (const Case& c : cases) {
    const QzuRect r = ScrollBarPartRect(c.x, c.y, c.w, c.h, c.inset);
    EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
              (std::vector<int>{c.rect.left, c.rect.top, c.rect.right, c.rect.bottom}));
  }

  EXPECT_EQ(ScrollBarGripLines(17, 16), (std::vector<int>{21, 23, 25, 27, 29}));
  EXPECT_EQ(ScrollBarGripLines(17, 11), (std::vector<int>{18, 20, 22, 24, 26}));
  EXPECT_EQ(ScrollBarGripLines(17, 10), (std::vector<int>{21, 22}));
}

TEST(LabelGeometry, MarkerRulesCaptionAndSideLine) {
  struct Case {
    const char* name;
    LabelLayoutInput in;
    LabelLayout out;
  };
  // Caption 80 x 20 in a client area of 300 x 60 unless said otherwise.
  auto input = [](int32_t marker, int32_t rule, int32_t fits, int32_t side, int h = 20) {
    LabelLayoutInput in;
    in.captionWidth = 80;
    in.captionHeight = h;
    in.clientWidth = 300;
    in.clientHeight = 60;
    in.markerWidth = marker;
    in.ruleStyle = rule;
    in.topRuleFitsCaption = fits;
    in.sideLineStyle = side;
    return in;
  };
  auto layout = [](int w, int b, bool marker, bool under, bool top, int topEnd, int cx, int cy, bool side = false,
                   bool dotted = false, int sx = 0, int sTop = 0, int sBottom = 0) {
    LabelLayout l;
    l.markerWidth = w;
    l.blockBottom = b;
    l.marker = marker;
    l.ruleUnder = under;
    l.ruleTop = top;
    l.topRuleEnd = topEnd;
    l.captionX = cx;
    l.captionY = cy;
    l.sideLine = side;
    l.sideLineDotted = dotted;
    l.sideLineX = sx;
    l.sideLineTop = sTop;
    l.sideLineBottom = sBottom;
    return l;
  };
  const Case cases[] = {
      {"defaults", input(0, 0, 0, -1), layout(4, 26, true, true, false, 300, 8, 4)},
      {"no marker, dotted side line", input(-1, 0, 0, 0), layout(0, 26, false, true, false, 300, 4, 4, true, true, 0, 33, 60)},
      {"marker 10, dotted side line", input(10, 0, 0, 0), layout(10, 26, true, true, false, 300, 14, 4, true, true, 5, 33, 60)},
      {"solid side line at the last column", input(0, 0, 0, 1), layout(4, 26, true, true, false, 300, 8, 4, true, false, 299, 26, 60)},
      {"both rules, top one fits the caption", input(0, 2, 1, -1), layout(4, 26, true, true, true, 88, 8, 4)},
      {"both rules across", input(0, 2, 0, -1), layout(4, 26, true, true, true, 300, 8, 4)},
      {"top rule only", input(0, 1, 0, -1), layout(4, 26, true, false, true, 300, 8, 4)},
      {"rule style 3: no rule", input(0, 3, 0, -1), layout(4, 26, true, false, false, 300, 8, 4)},
      {"other negative marker width: a fifth", input(-5, 0, 0, -1), layout(4, 26, true, true, false, 300, 8, 4)},
      {"caption 17 high", input(0, 0, 0, 0, 17), layout(3, 22, true, true, false, 300, 6, 3, true, true, 1, 28, 60)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LabelLayout l = LayOutLabel(c.in);
    EXPECT_EQ((std::vector<int>{l.markerWidth, l.blockBottom, l.marker, l.ruleUnder, l.ruleTop, l.topRuleEnd,
                                l.captionX, l.captionY}),
              (std::vector<int>{c.out.markerWidth, c.out.blockBottom, c.out.marker, c.out.ruleUnder, c.out.ruleTop,
                                c.out.topRuleEnd, c.out.captionX, c.out.captionY}));
    EXPECT_EQ((std::vector<int>{l.sideLine, l.sideLineDotted, l.sideLineX, l.sideLineTop, l.sideLineBottom}),
              (std::vector<int>{c.out.sideLine, c.out.sideLineDotted, c.out.sideLineX, c.out.sideLineTop,
                                c.out.sideLineBottom}));
  }
}
