// Pixel probes of the GDI-style drawing device and the canvas/display pair.
#include <gtest/gtest.h>

#include <QTest>

#include "framework/drawing_dc.h"
#include "framework/painter.h"
#include "framework/win_form.h"
#include "framework_test_util.h"

using namespace rg_Ombrine_MFCJieMian_base;

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0x0000FF;  // COLORREF is 0x00BBGGRR
constexpr COLORREF kBlue = 0xFF0000;

class DrawingTest : public ::testing::Test {
 protected:
  DrawingTest() : image(20, 20, QImage::Format_RGB32), dc(&image) { dc.Clear(kWhite); }
  QImage image;
  CQzuDC dc;
};

}  // namespace

TEST_F(DrawingTest, ColorrefRedPaintsRed) {
  dc.FillSolidRect({0, 0, 1, 1}, kRed);
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(dc.GetPixel(0, 0), kRed);
  dc.SetPixel(1, 0, kBlue);
  EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 255));
}

TEST_F(DrawingTest, FilledRectangleLeavesOutRightAndBottomEdge) {
  dc.FillSolidRect({2, 3, 6, 8}, kRed);
  EXPECT_EQ(dc.GetPixel(2, 3), kRed);
  EXPECT_EQ(dc.GetPixel(5, 7), kRed);   // last pixel inside
  EXPECT_EQ(dc.GetPixel(6, 7), kWhite);  // right edge left out
  EXPECT_EQ(dc.GetPixel(5, 8), kWhite);  // bottom edge left out
  EXPECT_EQ(dc.GetPixel(1, 3), kWhite);
}

TEST_F(DrawingTest, RectangleOutlineAndFillFollowGdi) {
  dc.SetPen(kRed);
  dc.SetBrush(kBlue);
  dc.Rectangle({2, 2, 8, 7});
  EXPECT_EQ(dc.GetPixel(2, 2), kRed);
  EXPECT_EQ(dc.GetPixel(7, 2), kRed);   // right outline at right - 1
  EXPECT_EQ(dc.GetPixel(8, 2), kWhite);
  EXPECT_EQ(dc.GetPixel(2, 6), kRed);   // bottom outline at bottom - 1
  EXPECT_EQ(dc.GetPixel(2, 7), kWhite);
  EXPECT_EQ(dc.GetPixel(4, 4), kBlue);  // inside: the brush
  dc.SetHollowBrush();
  dc.Rectangle({10, 10, 15, 15});
  EXPECT_EQ(dc.GetPixel(12, 12), kWhite);
  EXPECT_EQ(dc.GetPixel(14, 14), kRed);
}

TEST_F(DrawingTest, LineLeavesOutItsEndPoint) {
  dc.SetPen(kRed);
  dc.MoveTo(1, 1);
  dc.LineTo(6, 1);
  EXPECT_EQ(dc.GetPixel(1, 1), kRed);
  EXPECT_EQ(dc.GetPixel(5, 1), kRed);
  EXPECT_EQ(dc.GetPixel(6, 1), kWhite);
  dc.LineTo(6, 5);  // continues from the current position
  EXPECT_EQ(dc.GetPixel(6, 1), kRed);
  EXPECT_EQ(dc.GetPixel(6, 4), kRed);
  EXPECT_EQ(dc.GetPixel(6, 5), kWhite);
}

TEST_F(DrawingTest, EllipseStaysInsideItsBox) {
  dc.SetPen(kRed);
  dc.SetBrush(kRed);
  dc.Ellipse({0, 0, 11, 11});
  EXPECT_EQ(dc.GetPixel(5, 5), kRed);
  EXPECT_EQ(dc.GetPixel(10, 5), kRed);   // touches right - 1
  EXPECT_EQ(dc.GetPixel(11, 5), kWhite);
  EXPECT_EQ(dc.GetPixel(0, 0), kWhite);  // corners stay outside
}

TEST_F(DrawingTest, TextIsDrawnInTheTextColourAndClipped) {
  dc.SetFontText(u"微软雅黑, 11, 0, 0, 0, 0, 0");
  dc.SetTextColour(kRed);
  dc.SetBkMode(kBkTransparent);
  QzuRect box{0, 0, 10, 20};
  dc.DrawText(u"中中中中", box, kDtSingleLine | kDtVCenter);
  int red = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 200 && c.green() < 100) {
        ++red;
        EXPECT_LT(x, 10) << "drawn outside the clip box";
      }
    }
  EXPECT_GT(red, 5);
  QzuRect measure{0, 0, 0, 0};
  const int h = dc.DrawText(u"中a", measure, kDtCalcRect | kDtSingleLine);
  EXPECT_GT(h, 0);
  EXPECT_EQ(measure.bottom, h);
  EXPECT_EQ(measure.right, dc.GetTextExtent(u"中a").width());
}

TEST_F(DrawingTest, TransparentBltLeavesOutTheKeyColour) {
  QImage src(2, 1, QImage::Format_RGB32);
  src.setPixel(0, 0, qRgb(0, 255, 0));
  src.setPixel(1, 0, qRgb(255, 0, 255));
  dc.TransparentBlt(0, 0, 2, 1, src, 0, 0, 2, 1, 0xFF00FF);
  EXPECT_EQ(dc.GetPixel(0, 0), 0x00FF00u);
  EXPECT_EQ(dc.GetPixel(1, 0), kWhite);
}

TEST_F(DrawingTest, NoImageMeansNoDrawing) {
  CQzuDC none;
  none.FillSolidRect({0, 0, 5, 5}, kRed);
  none.LineTo(3, 3);
  EXPECT_EQ(none.GetPixel(0, 0), 0xFFFFFFFFu);
  EXPECT_GT(none.GetTextExtent(u"中").width(), 0);  // still measures
}

TEST(Painters, CanvasCopiedToDisplayShowsOnScreen) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 120, 80), 1);
  rg_painter canvas, display;
  canvas.SetVisible(false);
  ASSERT_EQ(canvas.Create(&form, 0, 0, 40, 30), 1);
  ASSERT_EQ(display.Create(&form, 50, 0, 40, 30), 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  canvas.GetDC().Clear(kWhite);
  canvas.GetDC().FillSolidRect({0, 0, 20, 30}, kRed);
  display.CopyCanvasFrom(canvas);
  const QImage shown = display.GetWidget()->grab().toImage();
  EXPECT_EQ(shown.pixelColor(5, 5), QColor(255, 0, 0));
  EXPECT_EQ(shown.pixelColor(25, 5), QColor(255, 255, 255));
  // Both follow their control's size.
  canvas.Move(0, 0, 60, 50);
  EXPECT_EQ(canvas.GetDC().Width(), 60);
  EXPECT_EQ(canvas.GetDC().Height(), 50);
  EXPECT_EQ(canvas.GetDC().GetPixel(5, 5), kRed);  // what was drawn is kept
  form.DestroyWindow();
}

// A whole copy of a canvas of the display's size shares the canvas's pixels;
// drawing on either afterwards leaves the other as it was.
TEST(Painters, ADisplayCopyOfACanvasSharesItsPixelsUntilEitherIsDrawnOn) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 120, 80), 1);
  rg_painter canvas, display;
  canvas.SetVisible(false);
  ASSERT_EQ(canvas.Create(&form, 0, 0, 40, 30), 1);
  ASSERT_EQ(display.Create(&form, 50, 0, 40, 30), 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  canvas.GetDC().Clear(kRed);
  display.CopyCanvasFrom(canvas);
  EXPECT_EQ(display.GetImage().constBits(), canvas.GetImage().constBits());

  canvas.GetDC().FillSolidRect({0, 0, 10, 10}, kBlue);
  EXPECT_EQ(canvas.GetDC().GetPixel(5, 5), kBlue);
  EXPECT_EQ(display.GetDC().GetPixel(5, 5), kRed);
  display.GetDC().FillSolidRect({20, 0, 30, 10}, kWhite);
  EXPECT_EQ(canvas.GetDC().GetPixel(25, 5), kRed);
  EXPECT_EQ(display.GetWidget()->grab().toImage().pixelColor(5, 5), QColor(255, 0, 0));
  form.DestroyWindow();
}

// A painter never drawn on gets its image when first needed, as if it had
// been made at each resize: the background of its resizes, where each put it.
TEST(Painters, AnImageNeverDrawnOnIsMadeWhenNeededWithTheBackgroundOfItsResizes) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 300, 120), 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  rg_painter grown, recoloured, recolouredAndGrown;
  for (rg_painter* p : {&grown, &recoloured, &recolouredAndGrown}) p->SetBackColour(kRed);
  ASSERT_EQ(grown.Create(&form, 0, 0, 40, 30), 1);
  ASSERT_EQ(recoloured.Create(&form, 100, 0, 40, 30), 1);
  ASSERT_EQ(recolouredAndGrown.Create(&form, 200, 0, 40, 30), 1);
  grown.Move(0, 0, 60, 50);
  recoloured.SetBackColour(kBlue);
  recolouredAndGrown.SetBackColour(kBlue);
  recolouredAndGrown.Move(200, 0, 60, 50);
  for (rg_painter* p : {&grown, &recoloured}) {
    const auto* wnd = p->GetWindowObject()->WndAs<CVWnd_Painter>();
    ASSERT_NE(wnd, nullptr);
    EXPECT_TRUE(wnd->Image()->isNull());
  }

  const QImage shown = grown.GetWidget()->grab().toImage();
  EXPECT_EQ(shown.size(), QSize(60, 50));
  EXPECT_EQ(shown.pixelColor(55, 45), QColor(255, 0, 0));
  EXPECT_EQ(grown.GetDC().Width(), 60);
  EXPECT_EQ(recoloured.GetDC().GetPixel(35, 25), kRed);  // no resize since the colour changed
  EXPECT_EQ(recolouredAndGrown.GetDC().GetPixel(35, 25), kRed);
  EXPECT_EQ(recolouredAndGrown.GetDC().GetPixel(55, 45), kBlue);
  form.DestroyWindow();
}

TEST(Painters, StaticEdgeIsASunkenFrameOverThePicture) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 200, 80), 1);
  rg_painter framed, plain, line;
  for (rg_painter* p : {&framed, &plain, &line}) p->SetBackColour(kRed);
  ASSERT_EQ(framed.Create(&form, 0, 0, 40, 30, 0, CWString(), 0, qzu_win::kWsExStaticEdge), 1);
  ASSERT_EQ(plain.Create(&form, 50, 0, 40, 30), 1);
  // A separator: two pixels high, the frame is all there is to see.
  ASSERT_EQ(line.Create(&form, 0, 40, 100, 2, 0, CWString(), 0, qzu_win::kWsExStaticEdge), 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  for (rg_painter* p : {&framed, &plain, &line}) p->GetDC().Clear(kRed);

  const QColor shadow(0xA0, 0xA0, 0xA0), highlight(255, 255, 255), red(255, 0, 0);
  const QImage f = framed.GetWidget()->grab().toImage();
  EXPECT_EQ(f.pixelColor(0, 0), shadow);
  EXPECT_EQ(f.pixelColor(20, 0), shadow);
  EXPECT_EQ(f.pixelColor(0, 15), shadow);
  EXPECT_EQ(f.pixelColor(20, 29), highlight);
  EXPECT_EQ(f.pixelColor(39, 15), highlight);
  EXPECT_EQ(f.pixelColor(39, 29), highlight);
  EXPECT_EQ(f.pixelColor(1, 1), red);  // the picture inside is untouched
  EXPECT_EQ(f.pixelColor(38, 28), red);
  EXPECT_EQ(framed.GetClientWidth(), 40);

  const QImage p = plain.GetWidget()->grab().toImage();
  EXPECT_EQ(p.pixelColor(0, 0), red);
  EXPECT_EQ(p.pixelColor(39, 29), red);

  const QImage l = line.GetWidget()->grab().toImage();
  EXPECT_EQ(l.pixelColor(50, 0), shadow);
  EXPECT_EQ(l.pixelColor(50, 1), highlight);
  form.DestroyWindow();
}
