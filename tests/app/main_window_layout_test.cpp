// The main window's layout at other sizes and DPI factors: the editors share
// the width with even margins, the batch group sits under them at the
// bottom, the buttons follow their editors, the parked option panels stay
// over the banner, and nothing overlaps that should not.
#include <gtest/gtest.h>

#include <cstdlib>

#include "main_window_fixture.h"

namespace qzu_test {
namespace {

using rg_Ombrine_app::ConversionFunction;

class MainWindowLayoutTest : public MainWindowFixture {
 protected:
  // The rules that hold at every size, for a window laid out at `factor`.
  void CheckLayout(double factor) {
    Window& w = *m_window;
    const int cw = w.GetClientWidth(), ch = w.GetClientHeight();
    const int m = ScaleByDpiFactor(15);
    SCOPED_TRACE(::testing::Message() << cw << " x " << ch << " at " << factor);

    const Box banner = BoxOf(w.BannerStrip);
    EXPECT_EQ(banner.x, 0);
    EXPECT_EQ(banner.y, 0);
    EXPECT_EQ(banner.width, cw);
    const Box editors = BoxOf(w.EditorsPanel);
    const Box batch = BoxOf(w.BatchGroup);
    EXPECT_EQ(editors, (Box{0, ScaleByDpiFactor(240), cw, ch - batch.height - ScaleByDpiFactor(240)}));
    EXPECT_EQ(batch.y, editors.Bottom());
    EXPECT_EQ(batch.Bottom(), ch);
    EXPECT_EQ(batch.x, ScaleByDpiFactor(9));

    // Two editors of one size, an outer margin on the left and at the bottom,
    // three margins between them, and on the right one margin or, when the
    // halving left a pixel over, one pixel more.
    const Box input = BoxOf(w.InputEditor), result = BoxOf(w.ResultEditor);
    EXPECT_EQ(input.x, m);
    EXPECT_EQ(input.Bottom(), editors.height - m);
    EXPECT_EQ(result.y, input.y);
    EXPECT_EQ(result.width, input.width);
    EXPECT_EQ(result.height, input.height);
    EXPECT_EQ(result.x - input.Right(), 3 * m);
    EXPECT_LE(cw - result.Right() - m, 1);
    EXPECT_GE(cw - result.Right(), m);
    EXPECT_FALSE(input.Overlaps(result));

    // Captions over their editors, the paste and copy buttons at their right edges.
    EXPECT_EQ(BoxOf(w.InputCaption).x, input.x);
    EXPECT_EQ(BoxOf(w.InputCaption).width, input.width);
    EXPECT_EQ(BoxOf(w.ResultCaption).x, result.x);
    EXPECT_EQ(BoxOf(w.ResultCaption).width, result.width);
    EXPECT_FALSE(BoxOf(w.InputCaption).Overlaps(BoxOf(w.ResultCaption)));
    EXPECT_EQ(BoxOf(w.PasteButton).Right(), input.Right());
    EXPECT_EQ(BoxOf(w.CopyButton).Right(), result.Right());
    // The swap button centred on the gap between the editors.
    const Box swap = BoxOf(w.SwapButton);
    EXPECT_LE(std::abs((swap.x + swap.Right()) - (input.Right() + result.x)), 1);
    EXPECT_EQ(BoxOf(w.WrapButton).x, swap.x);

    // The action buttons over their editors; "无" has no decode caption, so
    // the encode button spans both places.
    const Box encode = BoxOf(w.EncodeButton), decode = BoxOf(w.DecodeButton);
    EXPECT_EQ(decode.x, result.x);
    EXPECT_EQ(decode.width, result.width);
    EXPECT_EQ(encode.x, ScaleByDpiFactor(10));
    EXPECT_EQ(encode.Right(), decode.Right());
    EXPECT_LE(encode.Bottom(), editors.y);
    const Box batchEncode = BoxOf(w.BatchEncodeButton), batchDecode = BoxOf(w.BatchDecodeButton);
    EXPECT_EQ(batchEncode.Right(), batchDecode.Right());

    // The toggles keep their places and never touch each other or the
    // action buttons; the parked panels lie in the banner's band above them.
    std::vector<Box> toggles;
    for (int i = 0; i < rg_Ombrine_app::kConversionFunctionCount; ++i)
      toggles.push_back(BoxOf(w.FunctionToggle(static_cast<ConversionFunction>(i))));
    for (size_t i = 0; i < toggles.size(); ++i) {
      EXPECT_FALSE(toggles[i].Overlaps(encode)) << "toggle " << i;
      for (size_t j = i + 1; j < toggles.size(); ++j) EXPECT_FALSE(toggles[i].Overlaps(toggles[j])) << i << ", " << j;
    }
    const Box upper = BoxOf(w.UpperCaseToggle);
    for (Window::Layouter* panel :
         {&w.EncodeIncludesPanel, &w.WordTxtPanel, &w.TxtPanel, &w.DedupPanel, &w.CharFormatPanel, &w.PinyinPanel}) {
      const Box p = BoxOf(*panel);
      EXPECT_EQ(p.x, upper.Right() - BoxOf(w.EncodeIncludesPanel).width);
      EXPECT_GE(p.y, 0);
      EXPECT_LE(p.Bottom(), ScaleByDpiFactor(91) - 2);
      for (const Box& t : toggles) EXPECT_FALSE(p.Overlaps(t));
    }
    EXPECT_EQ(BoxOf(w.EncodeIncludesPanel).Right(), upper.Right());
  }
};

TEST_F(MainWindowLayoutTest, LargerAndSmallerWindows) {
  Open();
  for (auto [width, height] : {std::pair{1500, 900}, std::pair{901, 601}, std::pair{1192, 720}}) {
    Resize(width, height);
    CheckLayout(1.0);
  }
}

TEST_F(MainWindowLayoutTest, FactorOneAndAHalf) {
  Window& w = Open(1.5);
  ASSERT_EQ(w.GetClientWidth(), 1788);
  ASSERT_EQ(w.GetClientHeight(), 1080);
  CheckLayout(1.5);
  Resize(2000, 1200);
  CheckLayout(1.5);
}

TEST_F(MainWindowLayoutTest, AnOddRemainderGoesToTheRightMargin) {
  Window& w = Open();
  // 1192 - 5 * 15 is odd: the halving leaves the pixel to the right margin.
  EXPECT_EQ(w.GetClientWidth() - BoxOf(w.ResultEditor).Right(), 16);
  Resize(1193, 720);
  EXPECT_EQ(w.GetClientWidth() - BoxOf(w.ResultEditor).Right(), 15);
}

}  // namespace
}  // namespace qzu_test
