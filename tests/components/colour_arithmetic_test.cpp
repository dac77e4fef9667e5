// Colour arithmetic: the conversions the colour swatches and pop-up rely on.
#include <gtest/gtest.h>

#include "components/colour_arithmetic.h"

namespace {

struct HslCase {
  uint32_t colour;
  int h, s, l;
};

TEST(ColourArithmetic, RgbToHslOnTheColourDialogScale) {
  const HslCase cases[] = {
      {0xFFFFFF, 0, 0, 240},   {0x0000FF, 0, 240, 120}, {0x00FF00, 80, 240, 120},
      {0xFF0000, 160, 240, 120}, {0xECECEC, 0, 0, 222}, {0x000000, 0, 0, 0},
      // The top byte is not part of the colour.
      {0xFF0000FF, 0, 240, 120},
      // Lightness above one half takes the other saturation formula.
      {0x8080FF, 0, 240, 180},
  };
  for (const HslCase& c : cases) {
    const auto hsl = RgbToHsl(c.colour);
    ASSERT_EQ(hsl.GetCount(), 3);
    EXPECT_EQ(hsl[0], c.h) << std::hex << c.colour;
    EXPECT_EQ(hsl[1], c.s) << std::hex << c.colour;
    EXPECT_EQ(hsl[2], c.l) << std::hex << c.colour;
  }
}

TEST(ColourArithmetic, HslToRgbAndTheDerivedColour) {
  struct Case {
    double h, s, l;
    uint32_t colour;
  };
  const Case cases[] = {
      {0, 240, 120, 0x0000FF},
      {80, 240, 120, 0x00FF00},
      {160, 240, 120, 0xFF0000},
      {240, 240, 120, 0x7F7F7F},  // hue 240 lies outside the six sextants
      {0, 0, 240, 0xFFFFFF},
      {0, 0, 0, 0x000000},
      {60, 40, 30, 0x1A251F},
  };
  for (const Case& c : cases) EXPECT_EQ(HslToRgb(c.h, c.s, c.l), c.colour) << c.h << "," << c.s << "," << c.l;

  EXPECT_EQ(DerivedColour(0, 240, 120), 0x1A251Fu);
  EXPECT_EQ(DerivedColour(0, 240, 120), HslToRgb(60, 40, 30));
  // Each step wraps on the 240 scale: 200+60 -> 20, 220+40 -> 20, 50-90 -> 200.
  EXPECT_EQ(DerivedColour(200, 220, 50), HslToRgb(20, 20, 200));
}

TEST(ColourArithmetic, HexTextIsRedGreenBlue) {
  EXPECT_EQ(ColourToHexText(0x0000FF), u"#FF0000");
  EXPECT_EQ(ColourToHexText(0x0A0B0C), u"#0C0B0A");
  EXPECT_EQ(ColourToHexText(0xFFFFFFFF), u"");
  EXPECT_EQ(ColourToHexText(0xFF000000), u"#000000");
  EXPECT_EQ(ColourToHexText(0xABCDEF), u"#EFCDAB");
}

}  // namespace
