// The owner-drawn label on the offscreen platform: nothing painted before it
// is shown, one paint when it shows, the picture where the layout puts it,
// colours that follow the marker colour, clicks, and the object operations.
#include <gtest/gtest.h>

#include <QTest>

#include <vector>

#include "common/dpi.h"
#include "components/label_layout.h"
#include "components/owner_drawn_label.h"
#include "framework/win_form.h"
#include "qt_pump.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;
using qzu_test::PumpFor;
using qzu_test::PumpUntil;

namespace {

struct Clicks : CQzuObject {
  std::vector<std::vector<int>> seen;  // x, y
  CQzuObject* sender = nullptr;
  CQzuReceiverRef ref = CQzuReceiverRef::Make(this);
  ~Clicks() override { ref->Detach(); }
};

intptr_t RecordClick(CQzuObject* r, CQzuObject* sender, intptr_t, int x, int y) {
  static_cast<Clicks*>(r)->seen.push_back({x, y});
  static_cast<Clicks*>(r)->sender = sender;
  return 1;
}

class LabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDpiFactor(1.0);
    ASSERT_EQ(form.CreateForm(nullptr, 20, 20, 360, 200), 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  }
  // Creates `label` in the form, 300 x 60, shown or not, and lets it settle.
  void Place(rg_TavelkinBiaoQian& label, bool visible = true) {
    label.SetVisible(visible);
    ASSERT_EQ(label.Create(&form, 10, 10, 300, 60, 1), 1);
    PumpFor(20);
  }
  // Where the layout puts the label's parts for its current caption.
  LabelLayout Layout(rg_TavelkinBiaoQian& label) {
    const QSize extent = label.Canvas().GetDC().GetTextExtent(label.caption);
    LabelLayoutInput in;
    in.captionWidth = extent.width();
    in.captionHeight = extent.height();
    in.clientWidth = 300;
    in.clientHeight = 60;
    in.markerWidth = label.markerWidth;
    in.ruleStyle = label.ruleStyle;
    in.topRuleFitsCaption = label.topRuleFitsCaption;
    in.sideLineStyle = label.sideLineStyle;
    return LayOutLabel(in);
  }
  static COLORREF Pixel(rg_TavelkinBiaoQian& label, int x, int y) { return label.Display().GetDC().GetPixel(x, y); }
  // Pixels of `colour` in a rectangle of the display.
  static int CountColour(rg_TavelkinBiaoQian& label, COLORREF colour, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) n += Pixel(label, x, y) == colour;
    return n;
  }

  CQzuWinForm form;
};

}  // namespace

TEST_F(LabelTest, NothingIsPaintedBeforeTheLabelShowsThenOnce) {
  rg_TavelkinBiaoQian label;
  Place(label, false);
  label.SetLabelText(u"输入内容");
  EXPECT_EQ(label.GetPaintCount(), 0);
  EXPECT_EQ(label.shown, 0);
  label.SetVisible(true);
  ASSERT_TRUE(PumpUntil([&] { return label.shown == 1; }));
  EXPECT_EQ(label.GetPaintCount(), 1);
  // Both painters cover the label.
  EXPECT_EQ(label.Canvas().GetWidth(), 300);
  EXPECT_EQ(label.Display().GetHeight(), 60);
  label.SetVisible(false);
  ASSERT_TRUE(PumpUntil([&] { return label.shown == 0; }));
  label.SetLabelText(u"结果");
  EXPECT_EQ(label.GetPaintCount(), 1);
}

TEST_F(LabelTest, TheDefaultPictureFollowsTheLayout) {
  rg_TavelkinBiaoQian label;
  label.sideLineStyle = 1;
  Place(label);
  ASSERT_EQ(label.shown, 1);
  const LabelLayout at = Layout(label);
  ASSERT_GT(at.markerWidth, 0);
  const COLORREF marker = 0x663399;
  EXPECT_EQ(Pixel(label, 0, 0), marker);                                   // the block
  EXPECT_EQ(Pixel(label, at.markerWidth - 1, at.blockBottom - 1), marker);  // its last pixel
  EXPECT_EQ(Pixel(label, at.markerWidth, 0), 0xFFFFFFu);                    // beside it: background
  EXPECT_EQ(Pixel(label, 150, at.blockBottom), marker);                     // the rule under the caption
  EXPECT_EQ(Pixel(label, 298, at.blockBottom), marker);
  EXPECT_EQ(Pixel(label, 150, at.blockBottom + 1), 0xFFFFFFu);
  EXPECT_EQ(Pixel(label, 299, 59), 0xC0C0C0u);  // the side line down the last column
  EXPECT_EQ(Pixel(label, 299, at.blockBottom + 1), 0xC0C0C0u);
  EXPECT_EQ(Pixel(label, 150, 0), 0xFFFFFFu);  // no top rule
  // The caption is drawn in the marker colour, right of the gap.
  EXPECT_GT(CountColour(label, marker, at.captionX, at.captionY, 300, at.blockBottom), 10);
}

TEST_F(LabelTest, RulesSideLinesAndColoursFollowTheMembers) {
  rg_TavelkinBiaoQian label;
  label.ruleStyle = kLabelRuleBoth;
  label.topRuleFitsCaption = 1;
  label.markerWidth = 10;
  label.sideLineStyle = kLabelSideLineDotted;
  label.sideLineColour = static_cast<COLORREF>(-2);
  Place(label);
  LabelLayout at = Layout(label);
  const COLORREF marker = 0x663399;
  EXPECT_EQ(Pixel(label, at.topRuleEnd - 1, 0), marker);  // the top rule ends at the caption
  EXPECT_EQ(Pixel(label, at.topRuleEnd + 1, 0), 0xFFFFFFu);
  EXPECT_EQ(Pixel(label, 298, at.blockBottom), marker);  // the rule under it spans the width
  // The dotted side line below the marker, in the marker colour: dots with gaps.
  const int dots = CountColour(label, marker, 5, at.sideLineTop, 6, 60);
  EXPECT_GT(dots, 3);
  EXPECT_LT(dots, 60 - at.sideLineTop);
  EXPECT_EQ(CountColour(label, marker, 5, at.blockBottom + 1, 6, at.sideLineTop), 0);

  // A later marker colour reaches the caption and the side line of -2.
  label.markerColour = 0x00AA00;
  label.RedrawLabel();
  EXPECT_EQ(Pixel(label, 0, 0), 0x00AA00u);
  EXPECT_EQ(CountColour(label, marker, 0, 0, 300, 60), 0);
  EXPECT_GT(CountColour(label, 0x00AA00, at.captionX, at.captionY, 300, at.blockBottom), 10);
  EXPECT_GT(CountColour(label, 0x00AA00, 5, at.sideLineTop, 6, 60), 3);

  // Rule style 3 and no marker: no rule at all; the caption is still drawn.
  label.ruleStyle = 3;
  label.markerWidth = kLabelNoMarker;
  label.textColour = 0x0000FF;
  label.RedrawLabel();
  at = Layout(label);
  EXPECT_EQ(CountColour(label, 0x00AA00, 0, 0, 300, 1), 0);
  EXPECT_EQ(Pixel(label, 150, at.blockBottom), 0xFFFFFFu);
  EXPECT_EQ(Pixel(label, 0, 0), 0xFFFFFFu);
  EXPECT_GT(CountColour(label, 0x0000FF, at.captionX, at.captionY, 300, at.blockBottom), 10);
}

TEST_F(LabelTest, ResizingToNothingLeavesThePaintersWhereTheyWere) {
  rg_TavelkinBiaoQian label;
  Place(label);
  label.Move(10, 10, 0, 60);
  PumpFor(20);
  EXPECT_EQ(label.Display().GetWidth(), 300);
  label.Move(10, 10, 200, 40);
  ASSERT_TRUE(PumpUntil([&] { return label.Display().GetWidth() == 200; }));
  EXPECT_EQ(label.Canvas().GetHeight(), 40);
}

TEST_F(LabelTest, PressesRaiseTheClickWhenBound) {
  rg_TavelkinBiaoQian label;
  Place(label);
  QTest::mouseClick(label.Display().GetWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(7, 9));  // unbound: ignored
  Clicks clicks;
  label.BindLabelEventHandler(&RecordClick, clicks.ref);
  QTest::mouseClick(label.Display().GetWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(12, 30));
  QTest::mouseClick(label.Display().GetWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(250, 50), 300);
  EXPECT_EQ(clicks.seen, (std::vector<std::vector<int>>{{12, 30}, {250, 50}}));
  EXPECT_EQ(clicks.sender, &label);
  label.BindLabelEventHandler(&RecordClick, CQzuReceiverRef());  // a null receiver clears it
  EXPECT_FALSE(label.OnClick.IsConnected());
  QTest::mouseClick(label.Display().GetWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(12, 30), 600);
  EXPECT_EQ(clicks.seen.size(), 2u);
}

TEST_F(LabelTest, CopiesShareThePaintersAndTheStreamKeepsTheMembers) {
  rg_TavelkinBiaoQian label;
  label.caption = u"批量转换";
  label.spareText = u"备用";
  label.markerColour = 0x0000FF;
  label.sideLineStyle = 2;
  label.ownFont = 1;
  Place(label);
  Clicks clicks;
  label.BindLabelEventHandler(&RecordClick, clicks.ref);

  rg_TavelkinBiaoQian copy;
  ASSERT_EQ(copy.CopyFrom(label), 1);
  EXPECT_EQ(copy.Display().GetWidget(), label.Display().GetWidget());
  EXPECT_EQ(copy.caption, u"批量转换");
  EXPECT_EQ(copy.spareText, u"备用");
  EXPECT_EQ(copy.markerColour, 0x0000FFu);
  EXPECT_EQ(copy.shown, 1);
  EXPECT_FALSE(copy.OnClick.IsConnected());
  EXPECT_FALSE(copy.IsEqual(label));
  rg_Ombrine_MFCJieMian_base::rg_painter painter;
  EXPECT_EQ(copy.CopyFrom(painter), 0);

  CQzuMemStream stream;
  label.SaveToStream(stream);
  stream.Rewind();
  rg_TavelkinBiaoQian loaded;
  loaded.LoadFromStream(stream);
  ASSERT_TRUE(stream.Ok());
  EXPECT_EQ(stream.Position(), stream.Buffer().GetSize());
  EXPECT_EQ(loaded.caption, u"批量转换");
  EXPECT_EQ(loaded.spareText, u"备用");
  EXPECT_EQ(loaded.sideLineStyle, 2);
  EXPECT_EQ(loaded.textColour, static_cast<COLORREF>(-2));
  EXPECT_EQ(loaded.ownFont, 1);

  rg_TavelkinBiaoQian fresh;
  EXPECT_EQ(fresh.caption, u"Tavelkin标签");
  EXPECT_EQ(fresh.DefaultWidth(), 468);
  EXPECT_EQ(fresh.DefaultHeight(), 306);
  CQzuMemStream cut(stream.Buffer().GetData(), stream.Buffer().GetSize() - 3);
  fresh.LoadFromStream(cut);
  EXPECT_EQ(cut.GetError(), kQzuStreamShortRead);
}
