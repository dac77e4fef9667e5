// The owner-drawn button's face, probed pixel by pixel on what the display
// painter shows: border and background per state, the square and round check
// glyphs, caption lines, SVG and bitmap state images with the derived hover
// image, colour keys, stretched images, and when a redraw happens at all.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "common/dpi.h"
#include "components/icon_render_cache.h"
#include "components/owner_drawn_button.h"
#include "framework/win_form.h"
#include "platform/hooks.h"
#include "platform/resource_loader.h"
#include "qt_pump.h"
#include "test_support.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;

namespace {

constexpr int kSvgRed = 93001;         // a red square
constexpr int kSvgBrownDisc = 93002;   // a brown disc, transparent around it
constexpr int kPictureKeyed = 93003;   // PNG: magenta with a green centre

const char kRedSquare[] =
    "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16' viewBox='0 0 16 16'>"
    "<rect width='16' height='16' fill='#ff0000'/></svg>";
const char kBrownDisc[] =
    "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16' viewBox='0 0 16 16'>"
    "<circle cx='8' cy='8' r='6' fill='#804020'/></svg>";

QByteArray KeyedPng() {
  QImage image(10, 10, QImage::Format_RGB32);
  image.fill(QColor(255, 0, 255));
  QPainter(&image).fillRect(3, 3, 4, 4, QColor(0, 255, 0));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}

class ButtonDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDpiFactor(1.0);
    m_savedFolder = GetProgramFolder();
    SetProgramFolder(CWString::FromUtf8(m_dir.str()));
    ResetIconCache();
    RegisterResource(kSvgRed, kRedSquare, sizeof kRedSquare - 1);
    RegisterResource(kSvgBrownDisc, kBrownDisc, sizeof kBrownDisc - 1);
    m_keyed = KeyedPng();
    RegisterResource(kPictureKeyed, m_keyed.constData(), static_cast<size_t>(m_keyed.size()));
    ASSERT_EQ(m_form.CreateForm(nullptr, 40, 40, 560, 200), 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.GetWidget()));
  }
  void TearDown() override {
    m_button.reset();
    for (int id : {kSvgRed, kSvgBrownDisc, kPictureKeyed}) RegisterResource(id, nullptr, 0);
    ResetIconCache();
    SetProgramFolder(m_savedFolder);
    SetDpiFactor(1.0);
  }

  // A shown button of the given class and size; `prepare` runs before it is created.
  template <class T = rg_TavelkinAnNiu1, class F>
  T& Make(int width, int height, F prepare) {
    auto button = std::make_unique<T>();
    prepare(*button);
    T& b = *button;
    m_button = std::move(button);
    EXPECT_EQ(b.Create(&m_form, 10, 10, width, height), 1);
    EXPECT_TRUE(qzu_test::PumpUntil([&] { return b.shown == 1; }));
    return b;
  }
  rg_TavelkinAnNiu1& Make(int width, int height) {
    return Make(width, height, [](rg_TavelkinAnNiu1&) {});
  }
  // What the display shows at (x, y).
  COLORREF At(int x, int y) { return m_button->Display().GetDC().GetPixel(x, y); }
  QColor ColourAt(int x, int y) { return m_button->Display().GetImage().pixelColor(x, y); }
  // Caption height as the redraw measures it.
  int CaptionHeight(rg_TavelkinAnNiu1& b) {
    std::vector<int> widths, heights;
    int total = 0;
    b.MeasureButtonLines(b.GetButtonText().Split(u"\r\n"), widths, heights, total, ScaleForDpi(2));
    return total;
  }

  qzu_test::TempDir m_dir;
  CWString m_savedFolder;
  QByteArray m_keyed;
  CQzuWinForm m_form;
  std::unique_ptr<rg_TavelkinAnNiu1> m_button;
};

}  // namespace

TEST_F(ButtonDrawingTest, OnePixelBorderAndBackgroundInEveryState) {
  rg_TavelkinAnNiu1& b = Make(160, 60);
  struct Row {
    int32_t state;
    COLORREF border, background;
  } rows[] = {{0, 0xC0C0C0, 0xECECEC}, {1, 0xDB8417, 0xFBF1E5}, {2, 0xC0C0C0, 0xFBF1E5}, {3, 0xC0C0C0, 0xECECEC}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.state);
    b.visualState = row.state;
    b.RedrawButton();
    for (auto [x, y] : {std::pair{0, 0}, {159, 0}, {0, 59}, {159, 59}, {80, 0}, {0, 30}}) EXPECT_EQ(At(x, y), row.border);
    for (auto [x, y] : {std::pair{1, 1}, {158, 58}, {80, 30}}) EXPECT_EQ(At(x, y), row.background);
  }
  // A checked check button keeps the pressed colours in the normal state.
  b.checkMode = 1;
  b.checked = 1;
  b.visualState = kButtonNormal;
  b.RedrawButton();
  EXPECT_EQ(At(80, 30), 0xFBF1E5u);
}

TEST_F(ButtonDrawingTest, SquareGlyphOfTheCheckBox) {
  auto& box = Make<rg_TavelkinXuanZhongKuang1>(189, 36, [](rg_TavelkinAnNiu1& b) { b.SetButtonText(u"遍历子目录"); });
  const int size = CaptionHeight(box);
  ASSERT_GT(size, 8);
  const int x = 0, y = (36 - size) / 2, g = 2;
  EXPECT_EQ(At(40, 0), 0xF0F0F0u) << "the parent colour -1 is the button face";

  EXPECT_EQ(At(x, y), 0xFF0000u);
  EXPECT_EQ(At(x + size - 1, y + size - 1), 0xFF0000u);
  EXPECT_EQ(At(x + size, y + size / 2), 0xF0F0F0u);
  EXPECT_EQ(At(x + size / 2, y + size / 2), 0xFFFFFFu);

  box.SetButtonChecked(1);
  EXPECT_EQ(At(x + size / 2, y + size / 2), 0x6666FFu);
  EXPECT_EQ(At(x + g, y + g), 0xF0F0F0u) << "the inner square's rim is the background";
  EXPECT_EQ(At(x + 1, y + 1), 0xFFFFFFu);
  EXPECT_EQ(At(x, y), 0xFF0000u);

  box.visualState = kButtonHover;
  box.RedrawButton();
  EXPECT_EQ(At(x, y), 0x6666FFu) << "the hover pen";
  EXPECT_EQ(At(x + size / 2, y + size / 2), 0x6666FFu);
}

TEST_F(ButtonDrawingTest, RoundGlyphIsDrawnWhereItBelongsAndLeavesTheBorder) {
  // A wide check button with the glyph as high as the client area, centred,
  // so that the glyph lies right of the first 100 pixels.
  rg_TavelkinAnNiu1& b = Make(520, 60, [](rg_TavelkinAnNiu1& b) {
    b.checkMode = 1;
    b.roundGlyph = 1;
    b.glyphStyle = kGlyphClientHeight;
    b.borderColours[0] = 0x00AA00;
    b.SetButtonText(u"转换文件名");
  });
  std::vector<int> widths, heights;
  int total = 0;
  const int widest = b.MeasureButtonLines({u"转换文件名"}, widths, heights, total, 2);
  const int size = 60 - 5;
  const int x = std::max((520 - 5 - widest - size) / 2, 5), y = (60 - size) / 2;
  ASSERT_GT(x, 100);
  auto near = [](QColor c, int r, int g, int bl) {
    return std::abs(c.red() - r) < 40 && std::abs(c.green() - g) < 40 && std::abs(c.blue() - bl) < 40;
  };

  EXPECT_TRUE(near(ColourAt(x + size / 2, y + size / 2), 255, 255, 255)) << "unchecked: white inside";
  const QColor rim = ColourAt(x + size / 2, y);
  EXPECT_GT(rim.blue(), rim.red() + 60) << "blue outline";
  EXPECT_EQ(At(50, 0), 0x00AA00u) << "the border over the top-left corner stays";
  EXPECT_EQ(At(0, 30), 0x00AA00u);
  EXPECT_EQ(At(x - 3, y + size / 2), 0xECECECu) << "background around the glyph";

  b.SetButtonChecked(1);  // checked: pressed colours, light red dot
  EXPECT_TRUE(near(ColourAt(x + size / 2, y + size / 2), 255, 102, 102));
  EXPECT_TRUE(near(ColourAt(x + 2, y + size / 2), 255, 255, 255)) << "white ring around the dot";
  EXPECT_EQ(At(x - 3, y + size / 2), 0xFBF1E5u);

  b.visualState = kButtonHover;  // the hover outline is light red
  b.RedrawButton();
  const QColor hoverRim = ColourAt(x + size / 2, y);
  EXPECT_GT(hoverRim.red(), hoverRim.blue() + 30);
}

TEST_F(ButtonDrawingTest, CaptionLinesSplitOnlyAtCarriageReturnLineFeed) {
  rg_TavelkinAnNiu1& b = Make(160, 90);
  // Rows holding dark (text) pixels, as bands of consecutive rows.
  auto bands = [&] {
    std::vector<int> tops;
    bool inBand = false;
    for (int y = 1; y < 89; ++y) {
      bool dark = false;
      for (int x = 1; x < 159 && !dark; ++x) {
        const QColor c = ColourAt(x, y);
        dark = c.red() < 100 && c.green() < 100 && c.blue() < 100;
      }
      if (dark && !inBand) tops.push_back(y);
      inBand = dark;
    }
    return tops;
  };
  b.SetButtonText(u"I\r\nI");
  const std::vector<int> two = bands();
  ASSERT_EQ(two.size(), 2u);
  const int lineHeight = b.Canvas().GetDC().GetTextExtent(u"I").height();
  EXPECT_EQ(two[1] - two[0], lineHeight + 2);

  b.SetButtonText(u"I\nI");
  EXPECT_EQ(bands().size(), 1u);
  b.SetButtonText(u"");
  EXPECT_EQ(bands().size(), 0u);
}

TEST_F(ButtonDrawingTest, SvgImageIsCentredBesideTheCaptionAndFollowsTheDpiFactor) {
  SetDpiFactor(1.5);
  rg_TavelkinAnNiu1& b = Make(160, 60, [](rg_TavelkinAnNiu1& b) {
    b.imageRenderWidth = 16;
    b.imageRenderHeight = 16;
  });
  b.SetButtonSvgResource(kSvgRed);
  ASSERT_EQ(b.images[kImageNormal].GetWidth(), 24);
  const int x = (160 - 24) / 2, y = (60 - 24) / 2;
  EXPECT_EQ(At(x, y), 0x0000FFu);
  EXPECT_EQ(At(x + 23, y + 23), 0x0000FFu);
  EXPECT_EQ(At(x - 1, y + 12), 0xECECECu);
  EXPECT_EQ(At(x + 24, y + 12), 0xECECECu);

  // Without a render size the image is a square of the line height, unscaled.
  b.imageRenderWidth = 0;
  const rg_Ombrine_base::rg_WeiTuDuiXiangLei square = b.RenderButtonImage(b.svgData[kImageNormal]);
  EXPECT_EQ(square.GetWidth(), b.lineHeight);
  EXPECT_EQ(square.GetHeight(), b.lineHeight);

  // A new font re-renders it at the new line height.
  const int before = b.lineHeight;
  b.SetButtonFont(u"微软雅黑, 22, 0, 0, 0, 0, 0");
  EXPECT_GT(b.lineHeight, before);
  EXPECT_EQ(b.images[kImageNormal].GetWidth(), b.lineHeight);
  EXPECT_EQ(b.fontSet, 1);
}

TEST_F(ButtonDrawingTest, ContentNeverStartsLeftOfTheMargin) {
  rg_TavelkinAnNiu1& b = Make(100, 40, [](rg_TavelkinAnNiu1& b) {
    b.imageRenderWidth = 16;
    b.imageRenderHeight = 16;
    b.imageWidth = 200;  // drawn wider than the button
    b.SetButtonText(u"很长很长的标题");
  });
  b.SetButtonSvgResource(kSvgRed);
  EXPECT_EQ(At(5, 20), 0x0000FFu);
  EXPECT_EQ(At(4, 20), 0xECECECu);
}

TEST_F(ButtonDrawingTest, HoverImageIsTheNormalOneBrighterWithItsTransparency) {
  rg_TavelkinAnNiu1& b = Make(160, 60, [](rg_TavelkinAnNiu1& b) {
    b.imageRenderWidth = 16;
    b.imageRenderHeight = 16;
    b.hoverBrightness = 60;
  });
  b.SetButtonSvgResource(kSvgBrownDisc);
  const int x = (160 - 16) / 2, y = (60 - 16) / 2;
  EXPECT_EQ(ColourAt(x + 8, y + 8), QColor(0x80, 0x40, 0x20));
  EXPECT_TRUE(b.images[kImageHover].IsEmpty());

  b.visualState = kButtonHover;
  b.RedrawButton();
  ASSERT_FALSE(b.images[kImageHover].IsEmpty());
  EXPECT_EQ(ColourAt(x + 8, y + 8), QColor(0x80 + 60, 0x40 + 60, 0x20 + 60));
  EXPECT_EQ(At(x, y), 0xFBF1E5u) << "the disc's transparent corner shows the hover background";

  // Kept for later redraws, even when the normal image changes.
  b.SetButtonSvgResource(kSvgRed);
  b.RedrawButton();
  EXPECT_EQ(ColourAt(x + 8, y + 8), QColor(0x80 + 60, 0x40 + 60, 0x20 + 60));
}

TEST_F(ButtonDrawingTest, BitmapImageWithAColourKeyOrStretchedOverTheFace) {
  rg_TavelkinAnNiu1& b = Make(160, 60);
  b.SetButtonBitmapResource(kPictureKeyed);
  ASSERT_EQ(b.images[kImageNormal].GetWidth(), 10);
  const int x = (160 - 10) / 2, y = (60 - 10) / 2;
  EXPECT_EQ(At(x, y), 0xFF00FFu);
  EXPECT_EQ(At(x + 5, y + 5), 0x00FF00u);

  b.imageDrawMode = 0xFF00FF;  // magenta is left out
  b.RedrawButton();
  EXPECT_EQ(At(x, y), 0xECECECu);
  EXPECT_EQ(At(x + 5, y + 5), 0x00FF00u);

  b.imageDrawMode = 0;
  b.imageFills = 1;  // the picture covers everything, border included
  b.RedrawButton();
  EXPECT_EQ(At(0, 0), 0xFF00FFu);
  EXPECT_EQ(At(80, 30), 0x00FF00u);
}

TEST_F(ButtonDrawingTest, UnknownGlyphStyleDrawsNeitherGlyphNorImage) {
  rg_TavelkinAnNiu1& b = Make(160, 60, [](rg_TavelkinAnNiu1& b) {
    b.checkMode = 1;
    b.glyphStyle = 5;
    b.imageRenderWidth = 16;
    b.imageRenderHeight = 16;
  });
  b.SetButtonSvgResource(kSvgRed);
  for (int x = 1; x < 159; ++x)
    for (int y = 1; y < 59; ++y) ASSERT_EQ(At(x, y), 0xECECECu) << x << "," << y;
  b.glyphStyle = kGlyphNone;  // back to a push button's image
  b.RedrawButton();
  EXPECT_EQ(At(80, 30), 0x0000FFu);
}

TEST_F(ButtonDrawingTest, RedrawsOnlyWhenShownEnabledAndChanged) {
  rg_TavelkinAnNiu1& b = Make(160, 60);
  auto mark = [&] { b.Canvas().GetDC().SetPixel(5, 5, 0x00FF00); };
  mark();
  b.SetButtonChecked(0);  // unchanged: no repaint
  EXPECT_EQ(b.Canvas().GetDC().GetPixel(5, 5), 0x00FF00u);
  b.SetButtonChecked(1);
  EXPECT_EQ(b.Canvas().GetDC().GetPixel(5, 5), 0xECECECu);

  mark();
  b.redrawEnabled = 0;
  b.RedrawButton();
  EXPECT_EQ(b.Canvas().GetDC().GetPixel(5, 5), 0x00FF00u);
  b.redrawEnabled = 1;
  b.SetVisible(false);
  ASSERT_TRUE(qzu_test::PumpUntil([&] { return b.shown == 0; }));
  b.SetButtonText(u"隐藏时");
  EXPECT_EQ(b.Canvas().GetDC().GetPixel(5, 5), 0x00FF00u);
  b.SetVisible(true);
  ASSERT_TRUE(qzu_test::PumpUntil([&] { return b.shown == 1; }));
  EXPECT_EQ(b.Canvas().GetDC().GetPixel(5, 5), 0xECECECu);
}

TEST_F(ButtonDrawingTest, BadgeKindsAndTheirResult) {
  rg_TavelkinAnNiu1& b = Make(160, 60);
  b.Canvas().GetDC().SetBkColour(0xECECEC);
  EXPECT_EQ(b.DrawButtonBadge(10, 10, 20, 3, 0), 0);
  EXPECT_EQ(b.Canvas().GetDC().GetPixel(10, 10), 0xECECECu) << "nothing drawn for an unknown kind";
  EXPECT_EQ(b.DrawButtonBadge(10, 10, 20, kBadgePartial, 0), 1);
  EXPECT_EQ(b.Canvas().GetDC().GetPixel(10, 10), 0xFF0000u);
  EXPECT_EQ(b.Canvas().GetDC().GetPixel(14, 24), 0x0000FFu) << "the red triangle of the partial mark";
  EXPECT_EQ(b.Canvas().GetDC().GetPixel(24, 14), 0xFFFFFFu) << "above the triangle's diagonal";
}
