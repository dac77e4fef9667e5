// The colour-window operations: placement beside an anchor near each screen
// edge, the values and displays a window receives for a colour, its caption,
// the pump-and-wait loop and its result; the colour list choosing its custom
// colour through a registered window; and our own colour window driven by
// its sliders, cells and buttons.
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <array>
#include <functional>
#include <vector>

#include "components/colour_arithmetic.h"
#include "components/colour_window_operations.h"
#include "drop_down_test_util.h"
#include "framework/colorref.h"
#include "framework/colour_dialog.h"
#include "framework/qt_text.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;
using qzu_test::DropDownTest;
using qzu_test::PumpUntil;

namespace {

// A colour window that records what it is given; once shown, it closes
// after a short while with `answer` as its result, as a user would.
class FakeColourWindow : public IColourWindow {
 public:
  bool RecreateColourWindow() override {
    ++recreated;
    exists = true;
    shown = false;
    resultColour = kNoColourChosen;
    return true;
  }
  bool ColourWindowExists() const override { return exists; }
  QSize ColourWindowSize() const override { return QSize(200, 150); }
  void MoveColourWindow(int x, int y) override { at = QPoint(x, y); }
  void ShowColourWindow() override {
    shown = true;
    shownWith = displays;
    QTimer::singleShot(30, &m_context, [this] {
      resultColour = answer;
      exists = false;
    });
  }
  void SetColourDisplay(ColourDisplay display, const CWString& text) override {
    displays[static_cast<size_t>(display)] = text;
    if (reentries > 0) {
      --reentries;
      UpdateColourWindow(*this, 0x00FF00, kUpdateEveryColourDisplay);  // ignored while updating
    }
  }
  void SetColourSwatches(COLORREF colour, COLORREF companion) override {
    swatch = colour;
    companionSwatch = companion;
  }
  void SetColourWindowCaption(const CWString& text) override { caption = text; }

  COLORREF answer = kNoColourChosen;
  int reentries = 0;
  int recreated = 0;
  bool exists = false, shown = false;
  QPoint at;
  std::array<CWString, kColourDisplayCount> displays, shownWith;
  COLORREF swatch = 0, companionSwatch = 0;
  CWString caption;

 private:
  QObject m_context;
};

// Registers a colour window for one test and puts the previous one back.
class ColourWindowScope {
 public:
  explicit ColourWindowScope(IColourWindow* window) : m_before(SetColourWindowPointer(window)) {}
  ~ColourWindowScope() { SetColourWindowPointer(m_before); }

 private:
  IColourWindow* m_before;
};

using Displays = std::array<CWString, kColourDisplayCount>;

TEST(ColourWindow, PlacedBesideTheAnchorAndInsideTheScreen) {
  // A 200 x 150 window on an 800 x 600 screen.
  const struct {
    const char* name;
    QzuRect anchor;
    QPoint at;
  } rows[] = {
      {"top left: below, from its left edge", {10, 10, 110, 36}, {10, 36}},
      {"middle: below, from its left edge", {300, 200, 500, 226}, {300, 226}},
      {"bottom: above", {300, 550, 500, 576}, {300, 400}},
      {"right: ending at its right edge", {650, 200, 790, 226}, {590, 226}},
      {"bottom right: above, ending at its right edge", {650, 550, 790, 576}, {590, 400}},
      {"wider than the room on the right: pushed back in", {700, 200, 760, 226}, {560, 226}},
      {"left of the screen: not before 0", {-80, 200, 40, 226}, {0, 226}},
      {"below the screen: not past its bottom", {300, 620, 500, 646}, {300, 450}},
      {"below the bottom edge with more room above", {300, 520, 500, 590}, {300, 370}},
      {"above the top: not before 0", {300, -40, 500, -10}, {300, 0}},
  };
  for (const auto& r : rows)
    EXPECT_EQ(ColourWindowPosition(r.anchor, 200, 150, 800, 600), r.at) << r.name;
  EXPECT_EQ(ColourWindowPosition({300, 200, 500, 226}, 900, 700, 800, 600), QPoint(0, 0)) << "larger than the screen";
}

TEST(ColourWindow, TheWindowGetsTheHslValuesAndDisplaysOfAColour) {
  const struct {
    const char* name;
    COLORREF colour;
    int32_t h, s, l;  // when the colour is kColourFromHsl: the window's values before
    Displays shown;   // decimal, hex, red, green, blue, hue, saturation, lightness
  } rows[] = {
      {"red", 0x0000FF, 0, 0, 0, {u"16711680", u"#FF0000", u"255", u"0", u"0", u"0", u"240", u"120"}},
      {"orange", 0x0080FF, 0, 0, 0, {u"16744448", u"#FF8000", u"255", u"128", u"0", u"20", u"240", u"120"}},
      {"blue", 0xFF0000, 0, 0, 0, {u"255", u"#0000FF", u"0", u"0", u"255", u"160", u"240", u"120"}},
      {"grey", 0x808080, 0, 0, 0, {u"8421504", u"#808080", u"128", u"128", u"128", u"0", u"0", u"120"}},
      {"-1 is white", 0xFFFFFFFF, 0, 0, 0,
       {u"16777215", u"#FFFFFF", u"255", u"255", u"255", u"0", u"0", u"240"}},
      {"0xFF000000 is the button face", 0xFF000000, 0, 0, 0,
       {u"15790320", u"#F0F0F0", u"240", u"240", u"240", u"0", u"0", u"225"}},
      {"from the window's values", kColourFromHsl, 80, 240, 120,
       {u"65280", u"#00FF00", u"0", u"255", u"0", u"80", u"240", u"120"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    FakeColourWindow window;
    window.hue = r.h;
    window.saturation = r.s;
    window.lightness = r.l;
    UpdateColourWindow(window, r.colour, kUpdateEveryColourDisplay);
    EXPECT_EQ(window.displays, r.shown);
    EXPECT_EQ(CWString::FromInt(window.hue), r.shown[kColourHue]);
    EXPECT_EQ(CWString::FromInt(window.saturation), r.shown[kColourSaturation]);
    EXPECT_EQ(CWString::FromInt(window.lightness), r.shown[kColourLightness]);
    EXPECT_EQ(ColourToHexText(window.swatch), r.shown[kColourHex]);
    EXPECT_EQ(window.companionSwatch, DerivedColour(window.hue, window.saturation, window.lightness));
    EXPECT_FALSE(window.updating);
  }

  // An update asked for while one runs (a display's change handler) is not
  // entered: the displays keep the first colour.
  FakeColourWindow window;
  window.reentries = 1;
  UpdateColourWindow(window, 0x0000FF, kUpdateEveryColourDisplay);
  EXPECT_EQ(window.displays, (Displays{u"16711680", u"#FF0000", u"255", u"0", u"0", u"0", u"240", u"120"}));
  EXPECT_EQ(window.hue, 0);
  EXPECT_EQ(window.swatch, 0x0000FFu);
}

TEST(ColourWindow, TheCaptionTellsThePinAndASaturationSetting) {
  const struct {
    int32_t pinned, saturationSetting;
    const char16_t* caption;
  } rows[] = {
      {0, 240, u"当前颜色 (右击下面色格可钉住数值不动)"},
      {1, 240, u"当前颜色 (已钉.同色右击解钉.不同色右击再钉)"},
      {0, 120, u"当前颜色 (右击下面色格可钉住数值不动) 饱和度120"},
      {1, 0, u"当前颜色 (已钉.同色右击解钉.不同色右击再钉) 饱和度0"},
  };
  for (const auto& r : rows) {
    FakeColourWindow window;
    window.pinned = r.pinned;
    window.saturationSetting = r.saturationSetting;
    DrawColourCaption(window);
    EXPECT_EQ(window.caption, CWString(r.caption));
  }
}

TEST_F(DropDownTest, PlacingTheColourWindowShowsItFilledAndWaitsForItsResult) {
  rg_TavelkinZuGeKuang1 anchor;
  Make(anchor, form, 20, 20, 200, u"自定义|-2");
  FakeColourWindow window;
  window.answer = 0x336699;
  // Without a registered window nothing is shown.
  EXPECT_EQ(PlaceColourWindow(anchor, 0x0080FF), kNoColourChosen);
  EXPECT_EQ(window.recreated, 0);

  ColourWindowScope registered(&window);
  EXPECT_EQ(PlaceColourWindow(anchor, 0x0080FF), 0x336699u);
  EXPECT_EQ(window.recreated, 1);
  EXPECT_TRUE(window.shown);
  EXPECT_FALSE(window.exists);
  EXPECT_EQ(window.shownWith[kColourHex], CWString(u"#FF8000"));
  EXPECT_EQ(window.shownWith[kColourHue], CWString(u"20"));
  EXPECT_EQ(window.caption, CWString(u"当前颜色 (右击下面色格可钉住数值不动)"));
  int l = 0, t = 0, r = 0, b = 0;
  anchor.GetWindowRect(l, t, r, b);
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  EXPECT_EQ(window.at, ColourWindowPosition({l, t, r, b}, 200, 150, screen.width(), screen.height()));
  EXPECT_EQ(window.at, QPoint(l, b)) << "an anchor at the top left: below it";
  EXPECT_FALSE(window.colourPicked) << "the handlers go with the window";
}

TEST_F(DropDownTest, TheCustomColourRowAsksTheRegisteredColourWindow) {
  FakeColourWindow window;
  ColourWindowScope registered(&window);
  rg_TavelkinZuGeKuang1 list;
  list.colourMode = 1;
  list.customColour = 0x0080FF;
  Make(list, form, 20, 20, 200, u"自定义|-2\r\n红|255\r\n蓝|16711680");

  // Closed without a choice: the custom colour stays and nothing is reported.
  ClickText(list);
  Click(list, 40, RowY(list, 0));
  EXPECT_EQ(window.recreated, 1);
  EXPECT_EQ(window.shownWith[kColourHex], CWString(u"#FF8000")) << "the window starts from the current colour";
  EXPECT_EQ(list.GetDropDownIndex(), 0);
  EXPECT_EQ(list.customColour, 0x0080FFu);
  EXPECT_EQ(log.Count("colour chosen"), 0);

  // A chosen colour becomes the custom colour and is reported once.
  window.answer = 0x123456;
  ClickText(list);
  Click(list, 40, RowY(list, 0));
  EXPECT_EQ(window.recreated, 2);
  EXPECT_EQ(list.customColour, 0x123456u);
  EXPECT_EQ(list.GetDropDownColour(), 0x123456u);
  EXPECT_EQ(list.GetDropDownIndex(), 0);
  EXPECT_EQ(log.Count("colour chosen"), 1);

  // A choice that one of the rows has selects that row.
  window.answer = 0xFF0000;
  ClickText(list);
  Click(list, 40, RowY(list, 0));
  EXPECT_EQ(list.GetDropDownIndex(), 2);
  EXPECT_EQ(list.GetDropDownColour(), 0xFF0000u);
  EXPECT_EQ(log.Count("colour chosen"), 2);
  EXPECT_TRUE(desktop.boxes.empty()) << "no notice while a window is registered";
  EXPECT_EQ(log.Count("item chosen"), 0);
}

// Our own colour window, shown by PlaceColourWindow; `steps` run once it is
// shown, as a user's clicks, and must close it.
COLORREF RunDialog(CQzuColourDialog& dialog, const CQzuWinControl& anchor, COLORREF colour,
                   std::function<void()> steps) {
  ColourWindowScope registered(&dialog);
  QObject context;
  QTimer::singleShot(0, &context, [&] {
    ASSERT_TRUE(PumpUntil([&] { return dialog.Window() && dialog.Window()->isVisible(); }));
    steps();
  });
  return PlaceColourWindow(anchor, colour);
}

TEST_F(DropDownTest, OurColourWindowTakesSlidersCellsAndPinsAndGivesItsColour) {
  rg_TavelkinZuGeKuang1 anchor;
  Make(anchor, form, 20, 20, 200, u"自定义|-2");
  CQzuColourDialog dialog;
  std::vector<CWString> seen;
  const COLORREF chosen = RunDialog(dialog, anchor, 0x0000FF, [&] {
    seen.push_back(FromQString(dialog.Display(kColourHex)->text()));
    EXPECT_EQ(dialog.Slider(0)->value(), 0);
    EXPECT_EQ(dialog.Slider(1)->value(), 240);
    EXPECT_EQ(dialog.Slider(2)->value(), 120);
    dialog.Slider(0)->setValue(160);  // the hue of blue
    seen.push_back(FromQString(dialog.Display(kColourHex)->text()));
    QTest::mouseClick(dialog.Cell(8), Qt::LeftButton);  // green
    seen.push_back(FromQString(dialog.Display(kColourHex)->text()));
    EXPECT_EQ(dialog.Slider(0)->value(), 80) << "the sliders follow a picked colour";
    // A right click pins the values: cells and sliders leave them.
    QTest::mouseClick(dialog.Cell(4), Qt::RightButton);
    seen.push_back(FromQString(dialog.Window()->windowTitle()));
    QTest::mouseClick(dialog.Cell(12), Qt::LeftButton);
    seen.push_back(FromQString(dialog.Display(kColourHex)->text()));
    // The same cell unpins them.
    QTest::mouseClick(dialog.Cell(4), Qt::RightButton);
    seen.push_back(FromQString(dialog.Window()->windowTitle()));
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
  });
  EXPECT_EQ(seen, (std::vector<CWString>{u"#FF0000", u"#0000FF", u"#00FF00",
                                         u"当前颜色 (已钉.同色右击解钉.不同色右击再钉)", u"#00FF00",
                                         u"当前颜色 (右击下面色格可钉住数值不动)"}));
  EXPECT_EQ(chosen, 0x00FF00u);
  EXPECT_FALSE(dialog.ColourWindowExists());

  // Cancelled, and closed by its close box: no colour.
  EXPECT_EQ(RunDialog(dialog, anchor, 0x0000FF, [&] { QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton); }),
            kNoColourChosen);
  EXPECT_EQ(RunDialog(dialog, anchor, 0x0000FF, [&] {
              QTest::mouseClick(dialog.Cell(12), Qt::LeftButton);
              dialog.Window()->close();
            }),
            kNoColourChosen);
}

}  // namespace
